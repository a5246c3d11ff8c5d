#include "base/TextTable.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace ponderix;
using namespace Qt::StringLiterals;

namespace {

// Every key the program looks up. A key missing here or in the table shows up
// as an empty caption or message, which nothing else would catch.
const std::vector<std::u16string> kProgramKeys = {
    u"AppData_Subdir",
    u"Copyright_Text",
    u"Digital_Sinatures",
    u"Offline_Hilfe",
    u"Online_Adresse",
    u"Online_MoreTools",
    u"Program_Name",
    u"Program_Short",
    u"Registry_Subkey",
    u"Settings_File",
    u"Temp_Subdir",
    u"Version_Name",
    u"MEN00001",
    u"MEN00002",
    u"MEN00003",
    u"MEN00004",
    u"MEN00005",
    u"MEN00006",
    u"MEN00007",
    u"MEN00009",
    u"MEN00011",
    u"MEN00012",
    u"MEN00020",
    u"MEN00021",
    u"MEN00022",
    u"MEN00030",
    u"MEN00031",
    u"MEN00033",
    u"MEN00034",
    u"MEN00035",
    u"MEN00103",
    u"MEN00104",
    u"MEN00105",
    u"MEN00106",
    u"MEN00107",
    u"MEN00024", // Analysis > Robustness
    u"MEN00040",
    u"MEN00041", // Edit > Undo, Redo
    u"TXT00001",
    u"TXT00002",
    u"TXT00013",
    u"TXT00041",
    u"TXT00072",
    u"TXT00073",
    u"TXT00074",
    u"TXT00075",
    u"TXT00076",
    u"TXT00090",
    u"TXT00091",
    u"TXT00093",
    u"TXT00094",
    u"TXT00100",
    u"TXT00101",
    u"TXT00102",
    u"TXT00103",
    u"TXT00104",
    u"TXT00105",
    u"TXT00106",
    u"TXT00107",
    u"TXT00108",
    u"TXT00109",
    u"TXT00110",
    u"TXT00111",
    u"TXT00112",
    u"TXT00120",
    u"TXT00125",
    u"TXT00126",
    u"TXT00150",
    u"TXT00151",
    u"TXT00196",
    u"TXT00197",
    u"TXT00198",
    u"TXT00200",
    u"TXT00201",
    u"TXT00202",
    u"TXT00203",
    u"TXT00204",
    u"TXT00205",
    u"TXT00206",
    u"TXT00207",
    u"TXT00208",
    u"TXT00209",
    u"TXT00210",
    u"TXT00211",
    u"TXT00212",
    u"TXT00213",
    u"TXT00214",
    u"TXT00215",
    u"TXT00216",
    u"TXT00217",
    u"TXT00218",
    u"TXT00219",
    u"TXT00220",
    u"TXT00221",
    u"TXT00222",
    u"TXT00223",
    u"TXT00224",
    u"TXT00225",
    u"TXT00226",
    u"TXT00248",
    u"TXT00249",
    u"TXT00250",
    u"TXT00251",
    u"TXT00252",
    u"TXT00253",
    u"TXT00254",
    u"TXT00255",
    u"TXT00256",
    u"TXT00257",
    u"TXT00258",
    u"TXT00259",
    u"TXT00260",
    u"TXT00261",
    u"TXT00262",
    u"TXT00263",
    u"TXT00264",
    u"TXT00265",
    u"TXT00266",
    u"TXT00267",
    u"TXT00268",
    u"TXT00269",
    u"TXT00270",
    u"TXT00271",
    u"TXT00272",
    u"TXT00273",
    u"TXT00274",
    u"TXT00275",
    u"TXT00276",
    u"TXT00277",
    u"TXT00278",
    u"TXT00279",
    u"TXT00307",
    u"TXT00308",
    u"TXT00309",
    u"TXT00339",
    // The robustness page and command.
    u"TXT00400",
    u"TXT00401",
    u"TXT00402",
    u"TXT00403",
    u"TXT00404",
    u"TXT00405",
    u"TXT00406",
    u"TXT00407",
    u"TXT00408",
    u"TXT00409",
    u"TXT00410",
    u"TXT00411",
    u"TXT00412",
    u"TXT00413",
    u"TXT00414",
    u"TXT00415",
    u"TXT00416",
    u"TXT00417",
    u"TXT00418",
    u"TXT00419",
    u"TXT00420",
    u"TXT00421",
    u"TXT00422",
    u"TXT00423",
    u"TXT00424",
    u"TXT00425",
    u"TXT00426",
    u"TXT00427",
    u"TXT00428",
    u"TXT00429",
    u"TXT00430",
    u"TXT00431",
    u"TXT00432",
    // The robustness window.
    u"TXT00440",
    u"TXT00441",
    // The edit history's step names and the recovery of unsaved work.
    u"TXT00600",
    u"TXT00601",
    u"TXT00602",
    u"TXT00603",
    u"TXT00604",
    u"TXT00605",
    u"TXT00606",
    u"TXT00607",
    u"TXT00608",
    u"TXT00609",
    u"TXT00610",
    u"TXT00620",
    u"TXT00621",
    u"TXT00622",
    u"TXT00623",
    // The desktop's refusal of a project too large for the matrix.
    u"TXT00700",
    // Start-up at the edges: the lock and the temporary folder.
    u"TXT00520",
    u"TXT00521",
    u"TXT00522",
    u"TXT00523",
    u"TXT00524",
    u"TXT00525",
    // What assistive technology reads for the matrix's controls and result pages.
    u"TXT00560",
    u"TXT00561",
    u"TXT00562",
    u"TXT00563",
    u"TXT00564",
    u"TXT00565",
    u"TXT00566",
    u"TXT00567",
    u"TXT00568",
    u"TXT00569",
    // Deciding as a team.
    u"TXT00800",
    u"TXT00801",
    u"TXT00802",
    u"TXT00803",
    u"TXT00804",
    u"TXT00805",
    u"TXT00806",
    u"TXT00807",
    u"TXT00808",
    u"TXT00809",
    u"TXT00810",
    u"TXT00811",
    u"TXT00812",
    u"TXT00813",
    u"TXT00814",
    u"TXT00815",
    u"TXT00816",
    u"TXT00817",
    u"TXT00818",
    u"TXT00819",
    u"TXT00820",
    u"TXT00821",
    u"TXT00822",
    u"TXT00823",
    u"TXT00824",
    u"TXT00825",
    u"TXT00826",
    u"TXT00827",
    u"TXT00828",
    u"TXT00829",
    u"TXT00830",
    u"TXT00831",
    u"TXT00832",
    u"TXT00833",
    // The decision record.
    u"TXT00900",
    u"TXT00901",
    u"TXT00902",
    u"TXT00903",
    u"TXT00904",
    u"TXT00905",
    u"TXT00906",
    u"TXT00907",
    u"TXT00908",
    u"TXT00909",
    u"TXT00910",
    u"TXT00911",
    u"TXT00912",
    u"TXT00913",
    u"TXT00914",
    u"TXT00915",
    u"TXT00916",
};

QString text(TextKey key)
{
    return uiText(key);
}

std::string shown(TextKey key)
{
    return text(key).toStdString();
}

} // namespace

TEST(TextTable, HoldsExactlyTheProgramKeysEachWithText)
{
    ASSERT_EQ(kProgramKeys.size(), 253u);

    QStringList keys;
    for (TextKey key : allTextKeys())
        keys.append(textKeyName(key));
    keys.sort();
    EXPECT_EQ(std::adjacent_find(keys.begin(), keys.end()), keys.end());

    QStringList expected;
    for (const std::u16string& key : kProgramKeys)
        expected.append(QString::fromStdU16String(key));
    expected.sort();
    EXPECT_EQ(expected.removeDuplicates(), 0) << "the contract lists a key twice";
    // A stray key is as much a fault as a missing one: usually a misspelt
    // key whose intended entry is then absent.
    EXPECT_EQ(keys, expected);

    for (TextKey key : allTextKeys())
        EXPECT_FALSE(text(key).isEmpty()) << textKeyName(key).toStdString();
}

// A key that is not in the table does not build; what is left to check is
// that each key reaches its own entry and is named as the table names it.
TEST(TextTable, EachKeyReachesItsOwnEntry)
{
    EXPECT_EQ(shown(TextKey::TXT00001), "Error");
    EXPECT_EQ(textKeyName(TextKey::TXT00001), u"TXT00001"_s);
    EXPECT_EQ(shown(TextKey::TXT00339), "Save as...");
    EXPECT_EQ(textKeyName(TextKey::TXT00339), u"TXT00339"_s);
    EXPECT_EQ(textKeyName(TextKey::Program_Name), u"Program_Name"_s);
    EXPECT_EQ(allTextKeys().front(), TextKey::AppData_Subdir);
    EXPECT_EQ(textKeyName(TextKey::TXT00432), u"TXT00432"_s);
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
