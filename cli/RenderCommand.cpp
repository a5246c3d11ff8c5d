// render: builds an overview, profile, robustness or detail page exactly as
// the result windows would and writes it as an image file, at 1x or as a
// high-density screen shows it.

#include "base/ImageWriters.h"
#include "base/SystemReason.h"
#include "base/TextTable.h"
#include "cli/Subcommand.h"
#include "evaluation/ChartLibrary.h"
#include "evaluation/ResultPages.h"
#include "evaluation/Robustness.h"
#include "evaluation/Scoring.h"
#include "project/OptionLetter.h"
#include "project/ProjectMessages.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <optional>

namespace ponderix::cli {

using namespace Qt::StringLiterals;

namespace {

enum class PageKind { Overview, Profile, Robustness, Detail };

struct PageChoice {
    PageKind kind = PageKind::Overview;
    QString letter; // for a detail page
};

std::optional<PageChoice> parsePage(const QString& text)
{
    if (text == u"overview")
        return PageChoice{PageKind::Overview, {}};
    if (text == u"profile")
        return PageChoice{PageKind::Profile, {}};
    if (text == u"robustness")
        return PageChoice{PageKind::Robustness, {}};
    if (text.startsWith(u"detail:") && text.size() > 7)
        return PageChoice{PageKind::Detail, text.mid(7)};
    return std::nullopt;
}

int render(const Arguments& arguments)
{
    const std::optional<PageChoice> page = parsePage(arguments.value(u"--page"_s));
    if (!page)
        return usageError(u"render"_s, uiText(TextKey::TXT02047)
                                           .arg(u"--page"_s, u"overview, profile, robustness"_s,
                                                withArgumentWords(u"detail:LETTER"_s)));
    const std::optional<qreal> scale = scaleOption(arguments);
    if (!scale)
        return usageError(u"render"_s, scaleProblem());
    const QString output = arguments.value(u"-o"_s);
    if (!imageFormatOf(output))
        return usageError(u"render"_s, imageNameProblem());

    const QString path = arguments.positional[0];
    std::optional<Project> project = readProjectOrReport(path);
    if (!project)
        return kFailure;
    ComputeScores(*project);

    std::optional<int> option;
    if (page->kind == PageKind::Detail) {
        option = optionOfLetter(page->letter, project->optionCount());
        if (!option)
            return usageError(u"render"_s, uiText(TextKey::TXT02050).arg(page->letter));
    }

    QImage image;
    if (page->kind == PageKind::Profile) {
        image = buildProfilePage(*project, bannerOf(path), *scale);
    } else if (page->kind == PageKind::Robustness) {
        image = buildRobustnessPage(*project, analyseRobustness(*project), bannerOf(path), *scale);
    } else {
        const QTemporaryDir folder;
        if (!folder.isValid()) {
            writeProblem(uiText(TextKey::TXT02060).arg(translatedSystemReason(folder.errorString())));
            return kFailure;
        }
        const std::unique_ptr<ChartLibrary> charts = loadCharts(folder);
        if (page->kind == PageKind::Overview) {
            image = buildOverviewPage(*project, bannerOf(path), charts.get(), folder.path(), *scale);
        } else {
            // A missing background costs only the chart, as at start-up.
            writeDetailBackground(folder.path());
            image = buildDetailPage(*project, *option, bannerOf(path), charts.get(), folder.path(), *scale);
        }
    }
    return writeImageOrReport(image, output);
}

} // namespace

QString bannerOf(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    return name.size() > 4 ? name.chopped(4) : QString();
}

std::unique_ptr<ChartLibrary> loadCharts(const QTemporaryDir& folder)
{
    ChartLibrary::LoadResult loaded = ChartLibrary::load(folder.path());
    if (!loaded.library) {
        if (!loaded.error.isEmpty()) {
            QString text = chartLoadWarning(loaded.error).text;
            text.replace(u'\n', u' ');
            writeProblem(uiText(TextKey::TXT02061).arg(text));
        }
        return nullptr;
    }
    if (const std::optional<Message> warning = chartVersionWarning(loaded.library->versionText()))
        writeProblem(warning->text);
    return std::move(loaded.library);
}

// The device pixel ratios screens commonly use ("2" or "2.0"). Anything else
// is refused rather than rounded, so a script never gets a size it did not
// ask for. All four are exact in binary, so comparing is safe.
std::optional<qreal> scaleOption(const Arguments& arguments)
{
    if (!arguments.has(u"--scale"_s))
        return 1.0;
    bool ok = false;
    const double scale = arguments.value(u"--scale"_s).toDouble(&ok);
    const bool known = ok && (scale == 1.0 || scale == 1.25 || scale == 1.5 || scale == 2.0);
    return known ? std::optional<qreal>(scale) : std::nullopt;
}

QString scaleProblem()
{
    return uiText(TextKey::TXT02047).arg(u"--scale"_s, u"1, 1.25, 1.5"_s, u"2"_s);
}

QString imageNameProblem()
{
    return uiText(TextKey::TXT02049).arg(u".jpg, .gif, .png, .bmp"_s, u".tif"_s);
}

std::optional<ImageFormat> imageFormatOf(const QString& output)
{
    return imageFormatForExtension(QFileInfo(output).suffix().toLower());
}

int writeImageOrReport(const QImage& image, const QString& output)
{
    if (image.isNull()) {
        writeProblem(uiText(TextKey::TXT02062));
        return kFailure;
    }
    const WriteResult written = writeImageFile(image, output, *imageFormatOf(output));
    if (!written) {
        reportMessage({uiText(TextKey::TXT00001),
                       uiText(TextKey::TXT00109) + u"\r\n\r\n"_s + output + u"\r\n"_s + written.error});
        return kFailure;
    }
    return kSuccess;
}

Subcommand renderCommand()
{
    return {u"render"_s,
            u"render FILE.pnx --page overview|profile|robustness|detail:LETTER -o OUT.jpg|gif|png|bmp|tif "
            u"[--scale 1|1.25|1.5|2]"_s,
            1,
            {u"--page"_s, u"-o"_s, u"--scale"_s},
            {},
            {u"--page"_s, u"-o"_s},
            render};
}

} // namespace ponderix::cli
