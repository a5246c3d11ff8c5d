#include "base/JsonWriter.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include <gtest/gtest.h>

using namespace ponderix;
using namespace Qt::StringLiterals;

TEST(JsonWriter, WritesPartsInTheOrderGivenWithCommasBetween)
{
    JsonWriter json;
    json.beginObject().key(u"z").beginArray().value(1).null().value(u"x").endArray();
    json.key(u"a").beginObject().endObject().key(u"m").beginArray().endArray();
    json.key(u"chance").value(0.5, 6).key(u"nested").beginArray().beginArray().value(-3).endArray();
    json.beginArray().endArray().endArray().endObject();

    EXPECT_EQ(json.text(), uR"({"z":[1,null,"x"],"a":{},"m":[],"chance":0.500000,"nested":[[-3],[]]})"_s);
}

// Every code unit below 0x80 and a few beyond, alone and inside text, read
// back by Qt's own parser: whatever the escaping, it must stay valid JSON
// and give back exactly the text written.
TEST(JsonWriter, AnyTextReadsBackUnchanged)
{
    QStringList texts = {u"say \"hi\"\\"_s, u"Größe – 価格 \U0001F600"_s, QString()};
    for (char16_t unit = 0; unit < 0x80; ++unit)
        texts << QString(QChar(unit)) << u"a"_s + QChar(unit) + u"b"_s;

    for (const QString& text : texts) {
        JsonWriter json;
        json.beginObject().key(text).value(text).endObject();
        QJsonParseError error;
        const QJsonDocument read = QJsonDocument::fromJson(json.text().toUtf8(), &error);
        ASSERT_EQ(error.error, QJsonParseError::NoError) << json.text().toStdString();
        EXPECT_EQ(read.object().value(text).toString(), text) << json.text().toStdString();
    }
}

TEST(JsonWriter, ControlCharactersAreEscapedAsTheirCodes)
{
    EXPECT_EQ(jsonString(u"\x01\x1f\x7f\n"), uR"("\u0001\u001f)"_s + QChar(0x7f) + uR"(\n")"_s);
}
