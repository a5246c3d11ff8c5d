#include "cli/TerminalText.h"

#include "base/DisplayText.h"
#include "project/Project.h"

#include <algorithm>

namespace ponderix::cli {

using namespace Qt::StringLiterals;

namespace {

bool isControl(char16_t character)
{
    return character <= 0x1F || (character >= 0x7F && character <= 0x9F);
}

// Cut before escaping: a terminal shows a few lines of a name, and a name of
// megabytes printed whole buries everything after it, again for every line
// that names it.
QString escaped(const QString& whole, bool keepLineFeeds)
{
    const QString text = displayText(whole);
    if (std::none_of(text.begin(), text.end(), [](QChar character) { return isControl(character.unicode()); }))
        return text;
    QString shown;
    shown.reserve(text.size() + 8);
    for (QChar character : text) {
        const char16_t code = character.unicode();
        if (!isControl(code) || (keepLineFeeds && code == u'\n'))
            shown += character;
        else if (code == u'\t')
            shown += u"\\t"_s;
        else if (code == u'\n')
            shown += u"\\n"_s;
        else if (code == u'\r')
            shown += u"\\r"_s;
        else
            shown += u"\\x"_s + QString::number(code, 16).toUpper().rightJustified(2, u'0');
    }
    return shown;
}

} // namespace

QString terminalText(const QString& text)
{
    return escaped(text, false);
}

QString terminalLines(const QString& text)
{
    return escaped(text, true);
}

Project withTerminalNames(Project project)
{
    for (int option = 0; option < project.optionCount(); ++option)
        project.setOptionName(option, terminalText(project.options()[static_cast<std::size_t>(option)].Name));
    for (int criterion = 0; criterion < project.criterionCount(); ++criterion)
        project.setCriterionName(criterion, terminalText(project.criteria()[static_cast<std::size_t>(criterion)].Name));
    return project;
}

} // namespace ponderix::cli
