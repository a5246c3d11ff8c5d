#pragma once

#include <QString>
#include <QStringView>

#include <vector>

namespace ponderix {

// Writes one JSON text in the order its parts are given, so every object
// keeps the key order its readers were promised (QJsonObject would sort the
// keys). Commas come by themselves; a string is escaped so that any text,
// control characters included, stays valid JSON.
//
//     JsonWriter json;
//     json.beginObject().key(u"best").beginArray().value(u"A").endArray().endObject();
//     json.text() == uR"({"best":["A"]})"
class JsonWriter {
public:
    JsonWriter& beginObject() { return open(u'{'); }
    JsonWriter& endObject() { return close(u'}'); }
    JsonWriter& beginArray() { return open(u'['); }
    JsonWriter& endArray() { return close(u']'); }
    // The next value is the value of this key.
    JsonWriter& key(QStringView name);

    JsonWriter& value(QStringView text);
    JsonWriter& value(int number);
    // A fixed number of decimals: 0.5 with 6 decimals is 0.500000.
    JsonWriter& value(double number, int decimals);
    JsonWriter& null();

    const QString& text() const { return m_text; }

private:
    JsonWriter& open(QChar bracket);
    JsonWriter& close(QChar bracket);
    void beforeValue();

    QString m_text;
    // One entry per open object or array: whether it holds nothing yet.
    std::vector<bool> m_empty;
    bool m_afterKey = false;
};

// `text` as a JSON string literal, quotes included.
QString jsonString(QStringView text);

} // namespace ponderix
