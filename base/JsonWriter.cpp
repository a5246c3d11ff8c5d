#include "base/JsonWriter.h"

namespace ponderix {

using namespace Qt::StringLiterals;

QString jsonString(QStringView text)
{
    QString quoted = u"\""_s;
    quoted.reserve(text.size() + 2);
    for (QChar character : text) {
        const char16_t unit = character.unicode();
        if (unit == u'"' || unit == u'\\') {
            quoted += u'\\';
            quoted += character;
        } else if (unit == u'\n') {
            quoted += u"\\n"_s;
        } else if (unit == u'\r') {
            quoted += u"\\r"_s;
        } else if (unit == u'\t') {
            quoted += u"\\t"_s;
        } else if (unit < 0x20) {
            // Every other control character is invalid inside a JSON string.
            quoted += u"\\u"_s + QString::number(unit, 16).rightJustified(4, u'0');
        } else {
            quoted += character;
        }
    }
    quoted += u'"';
    return quoted;
}

void JsonWriter::beforeValue()
{
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (!m_empty.empty()) {
        if (!m_empty.back())
            m_text += u',';
        m_empty.back() = false;
    }
}

JsonWriter& JsonWriter::open(QChar bracket)
{
    beforeValue();
    m_text += bracket;
    m_empty.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::close(QChar bracket)
{
    m_text += bracket;
    m_empty.pop_back();
    return *this;
}

JsonWriter& JsonWriter::key(QStringView name)
{
    beforeValue();
    m_text += jsonString(name);
    m_text += u':';
    m_afterKey = true;
    return *this;
}

JsonWriter& JsonWriter::value(QStringView text)
{
    beforeValue();
    m_text += jsonString(text);
    return *this;
}

JsonWriter& JsonWriter::value(int number)
{
    beforeValue();
    m_text += QString::number(number);
    return *this;
}

JsonWriter& JsonWriter::value(double number, int decimals)
{
    beforeValue();
    m_text += QString::number(number, 'f', decimals);
    return *this;
}

JsonWriter& JsonWriter::null()
{
    beforeValue();
    m_text += u"null"_s;
    return *this;
}

} // namespace ponderix
