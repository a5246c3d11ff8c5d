#include "base/TextTable.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <string>

using namespace ponderix;
using namespace Qt::StringLiterals;

namespace {

QString text(TextKey key)
{
    return uiText(key);
}

std::string shown(TextKey key)
{
    return text(key).toStdString();
}

} // namespace

// A key without text shows up as an empty caption or message, which nothing
// else would catch.
TEST(TextTable, EveryKeyHasText)
{
    for (TextKey key : allTextKeys())
        EXPECT_FALSE(text(key).isEmpty()) << textKeyName(key).toStdString();
}

TEST(TextTable, NamesTheProgramAndItsVersion)
{
    EXPECT_EQ(shown(TextKey::Program_Name), "Ponderix");
    // Project files carry this as their root element: any other value would
    // make every existing project unreadable.
    EXPECT_EQ(shown(TextKey::Program_Short), "Ponderix");
    EXPECT_EQ(shown(TextKey::Version_Name), "Version 1.0.0");
    EXPECT_TRUE(QRegularExpression(u"^Version \\d+\\.\\d+\\.\\d+$"_s).match(text(TextKey::Version_Name)).hasMatch());
    EXPECT_TRUE(text(TextKey::Copyright_Text).contains(text(TextKey::Program_Name)));
}

TEST(TextTable, FolderFileAndAddressKeysHaveTheFormsTheirJoinsNeed)
{
    // Joined straight onto a folder ending in "/", and the settings file name
    // straight onto it.
    const QString appData = text(TextKey::AppData_Subdir);
    EXPECT_TRUE(appData.endsWith(u'/')) << appData.toStdString();
    EXPECT_FALSE(appData.startsWith(u'/'));
    EXPECT_EQ(appData.count(u'/'), 1);

    for (TextKey key : {TextKey::Settings_File, TextKey::Offline_Hilfe, TextKey::Temp_Subdir})
        EXPECT_FALSE(text(key).contains(u'/')) << textKeyName(key).toStdString();
    EXPECT_TRUE(text(TextKey::Settings_File).endsWith(u".ini"));

    // Split into the organisation and application names of the per-user store.
    const QStringList subkey = text(TextKey::Registry_Subkey).split(u'/');
    ASSERT_EQ(subkey.size(), 2);
    EXPECT_FALSE(subkey.at(0).isEmpty());
    EXPECT_FALSE(subkey.at(1).isEmpty());

    for (TextKey key : {TextKey::Online_Adresse, TextKey::Online_MoreTools})
        EXPECT_TRUE(text(key).startsWith(u"https://")) << textKeyName(key).toStdString();
}

TEST(TextTable, ValuesAreSinglePiecesForTheirJoins)
{
    // The code puts blanks and line breaks between the pieces of a message;
    // a piece carrying its own would double them.
    for (TextKey key : allTextKeys()) {
        const QString value = text(key);
        EXPECT_EQ(value, value.trimmed()) << textKeyName(key).toStdString();
        EXPECT_FALSE(value.contains(u'\r') || value.contains(u'\n')) << textKeyName(key).toStdString();
    }
}

TEST(TextTable, TextsFitTheirPlacesOnScreenAndPage)
{
    // One verdict per band: two equal texts would hide which band a score is in.
    QStringList verdicts;
    for (TextKey key :
         {TextKey::TXT00251, TextKey::TXT00252, TextKey::TXT00253, TextKey::TXT00254, TextKey::TXT00255}) {
        verdicts.append(text(key));
        EXPECT_LE(text(key).size(), 10) << textKeyName(key).toStdString(); // upright in a 60-pixel box
    }
    EXPECT_EQ(verdicts.removeDuplicates(), 0);

    // Page row labels stand in the 100 pixels before their value.
    for (TextKey key : {TextKey::TXT00257, TextKey::TXT00258, TextKey::TXT00259, TextKey::TXT00264, TextKey::TXT00265,
                        TextKey::TXT00266}) {
        EXPECT_LE(text(key).size(), 13) << textKeyName(key).toStdString();
        EXPECT_TRUE(text(key).endsWith(u':')) << textKeyName(key).toStdString();
    }

    // The legend is spread under a 120-pixel slider at about four pixels a
    // character; longer parts leave no room for the gaps between them.
    const qsizetype legend =
        text(TextKey::TXT00196).size() + text(TextKey::TXT00197).size() + text(TextKey::TXT00198).size();
    EXPECT_LT(4 * legend, 120);

    // Toolbar captions: one word, and no accelerator mark, which a toolbar would show.
    for (TextKey key : {TextKey::MEN00004, TextKey::MEN00005, TextKey::MEN00006, TextKey::MEN00020, TextKey::MEN00021,
                        TextKey::MEN00022}) {
        EXPECT_FALSE(text(key).contains(u'&')) << textKeyName(key).toStdString();
        EXPECT_FALSE(text(key).contains(u' ')) << textKeyName(key).toStdString();
    }
}
