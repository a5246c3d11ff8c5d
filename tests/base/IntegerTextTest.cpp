#include "base/IntegerText.h"

#include <gtest/gtest.h>

#include <QString>

using namespace ponderix;

TEST(IntegerText, ReadsTheWayProjectFilesNeed)
{
    struct Case {
        const char* text;
        int expected;
    };
    const Case cases[] = {
        {"7", 7},
        {"  \t-12", -12},
        {"+3", 3},
        {"10abc", 10},
        {"", 0},
        {"abc", 0},
        {"-", 0},
        {"$1F", 31},
        {"-$ff", -255},
        {"%101", 5},
        {"%102", 2},
        {"$", 0},
        {" 5 ", 5},
        {"\n5", 0},
        {"0007", 7},
        {"2147483647", 2147483647},
        {"2147483648", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"-99999999999999999999999", -2147483647 - 1},
        {"$FFFFFFFFFFFF", 2147483647},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(readInteger(std::string_view(c.text), IntegerSyntax::WithRadixPrefixes), c.expected) << c.text;
        EXPECT_EQ(readInteger(QString::fromUtf8(c.text), IntegerSyntax::WithRadixPrefixes), c.expected) << c.text;
    }
}

TEST(IntegerText, SettingsKnowNoRadixPrefixes)
{
    EXPECT_EQ(readInteger(std::string_view("$10"), IntegerSyntax::Decimal), 0);
    EXPECT_EQ(readInteger(std::string_view("%10"), IntegerSyntax::Decimal), 0);
    EXPECT_EQ(readInteger(std::string_view("-40"), IntegerSyntax::Decimal), -40);
    // Digits of other scripts are not decimal digits here.
    EXPECT_EQ(readInteger(QStringView(u"\u0663"), IntegerSyntax::Decimal), 0);
}
