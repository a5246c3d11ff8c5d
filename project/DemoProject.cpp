#include "project/DemoProject.h"

#include "base/Language.h"
#include "project/ProjectReader.h"
#include "project/ProjectWriter.h"

#include <QDateTime>

#include <span>

namespace ponderix {

using namespace Qt::StringLiterals;

namespace assets {
extern const std::span<const unsigned char> kDemoProjectBytes;
}

namespace {

// The translators' entries for the demo's names and comments.
constexpr QStringView kDemoContext = u"Demo";

QString inChosenLanguage(const QString& english)
{
    return translatedText(kDemoContext, english);
}

// The stored demo's own file name and time stamp, which the written copy keeps.
const QString kDemoFileName = u"Cars.pnx"_s;
const QDateTime kDemoModified(QDate(2012, 11, 13), QTime(15, 42, 26));

} // namespace

QByteArrayView demoProjectBytes()
{
    return QByteArrayView(assets::kDemoProjectBytes.data(), static_cast<qsizetype>(assets::kDemoProjectBytes.size()));
}

QByteArray demoProjectBytesInChosenLanguage()
{
    ReadResult stored = readProjectBytes(demoProjectBytes());
    Project demo = stored.project();
    bool translated = false;
    const auto translate = [&translated](const QString& english) {
        const QString text = inChosenLanguage(english);
        translated = translated || text != english;
        return text;
    };
    for (const Option& option : std::vector<Option>(demo.options()))
        demo.setOptionName(option.Index, translate(option.Name));
    for (const Criterion& criterion : std::vector<Criterion>(demo.criteria()))
        demo.setCriterionName(criterion.Index, translate(criterion.Name));
    for (const Rating& rating : std::vector<Rating>(demo.ratings()))
        demo.setComment(rating.IndexOption, rating.IndexCriteria, translate(rating.Comment));
    if (!translated)
        return demoProjectBytes().toByteArray();
    return projectFileBytes(demo, kDemoFileName, kDemoModified);
}

} // namespace ponderix
