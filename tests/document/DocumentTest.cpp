#include "document/Document.h"
#include "document/EditSteps.h"
#include "tests/document/SampleProjects.h"

#include <gtest/gtest.h>

#include <functional>

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

namespace {

QString kindWord(EntryKind kind)
{
    return kind == EntryKind::Option ? u"option"_s : u"criterion"_s;
}

// Every announcement the document makes, one line each in order; the entry
// counts show whether a view would see the list before or after the change.
class Announcements {
public:
    explicit Announcements(Document& document) : m_document(document)
    {
        const auto log = [this](const QString& line) { lines << line; };
        QObject::connect(&document, &Document::nameChanged, &document,
                         [log](EntryKind kind, int index) { log(u"name %1 %2"_s.arg(kindWord(kind)).arg(index)); });
        QObject::connect(&document, &Document::importanceChanged, &document,
                         [log](int index) { log(u"importance %1"_s.arg(index)); });
        QObject::connect(&document, &Document::valueChanged, &document, [log](int option, int criterion, bool shown) {
            log(u"value %1:%2 %3"_s.arg(option).arg(criterion).arg(shown ? u"shown"_s : u"empty"_s));
        });
        QObject::connect(&document, &Document::commentChanged, &document,
                         [log](int option, int criterion) { log(u"comment %1:%2"_s.arg(option).arg(criterion)); });
        QObject::connect(&document, &Document::entryAppended, &document,
                         [log](EntryKind kind) { log(u"appended "_s + kindWord(kind)); });
        QObject::connect(&document, &Document::lastEntryRemoved, &document,
                         [log](EntryKind kind) { log(u"last removed "_s + kindWord(kind)); });
        QObject::connect(&document, &Document::entriesAboutToBeRenumbered, &document, [this, log](EntryKind kind) {
            log(u"renumbering %1 of %2"_s.arg(kindWord(kind)).arg(counts()));
        });
        QObject::connect(&document, &Document::entriesRenumbered, &document, [this, log](EntryKind kind) {
            log(u"renumbered %1 of %2"_s.arg(kindWord(kind)).arg(counts()));
        });
        QObject::connect(&document, &Document::entriesSwapped, &document, [log](EntryKind kind, int first, int second) {
            log(u"swapped %1 %2 %3"_s.arg(kindWord(kind)).arg(first).arg(second));
        });
        QObject::connect(&document, &Document::projectAboutToBeReplaced, &document,
                         [this, log] { log(u"replacing "_s + counts()); });
        QObject::connect(&document, &Document::projectReplaced, &document,
                         [this, log] { log(u"replaced "_s + counts()); });
        QObject::connect(&document, &Document::bannerChanged, &document,
                         [log](const QString& banner) { log(u"banner "_s + banner); });
        QObject::connect(&document, &Document::focusRequested, &document,
                         [log](FocusTarget target, int index, int criterion) {
                             log(u"focus %1 %2:%3"_s.arg(target == FocusTarget::RatingValue ? u"value"_s : u"other"_s)
                                     .arg(index)
                                     .arg(criterion));
                         });
        QObject::connect(&document, &Document::changed, &document, [log] { log(u"changed"_s); });
    }

    QStringList lines;

private:
    QString counts() const
    {
        return u"%1x%2"_s.arg(m_document.project().optionCount()).arg(m_document.project().criterionCount());
    }

    const Document& m_document;
};

} // namespace

// Options O0..O2, criteria C0 (importance 1) and C1 (importance 2); rating
// o:c has the comment "o:c" and the value (o + 2c) % 11.
TEST(Document, EachChangeIsMadeAndAnnouncedOnce)
{
    struct Case {
        const char* name;
        std::function<void(Document&)> change;
        QStringList announced;
        std::function<QString(const Project&)> fact;
        QString expected;
    };
    const auto names = [](const Project& project) -> QString {
        return optionNames(project) + u'/' + criterionNames(project);
    };
    const std::vector<Case> cases = {
        {"option name",
         [](Document& d) { d.setName(EntryKind::Option, 1, u"x"_s); },
         {u"name option 1"_s, u"changed"_s},
         names,
         u"O0,x,O2/C0,C1"_s},
        {"criterion name",
         [](Document& d) { d.setName(EntryKind::Criterion, 0, u"y"_s); },
         {u"name criterion 0"_s, u"changed"_s},
         names,
         u"O0,O1,O2/y,C1"_s},
        {"importance, held to 5",
         [](Document& d) { d.setImportance(1, 9); },
         {u"importance 1"_s, u"changed"_s},
         [](const Project& p) { return QString::number(p.criteria()[1].Importance); },
         u"5"_s},
        {"value",
         [](Document& d) { d.setValue(2, 1, 7, false); },
         {u"value 2:1 empty"_s, u"changed"_s},
         [](const Project& p) { return QString::number(p.ratingOf(2, 1)->Value); },
         u"7"_s},
        {"comment",
         [](Document& d) { d.setComment(0, 1, u"c"_s); },
         {u"comment 0:1"_s, u"changed"_s},
         [](const Project& p) { return p.ratingOf(0, 1)->Comment; },
         u"c"_s},
        {"append option",
         [](Document& d) { d.appendEntry(EntryKind::Option, u"new"_s); },
         {u"appended option"_s, u"changed"_s},
         names,
         u"O0,O1,O2,new/C0,C1"_s},
        {"remove last criterion",
         [](Document& d) { d.removeLastEntry(EntryKind::Criterion); },
         {u"last removed criterion"_s, u"changed"_s},
         names,
         u"O0,O1,O2/C0"_s},
        {"take option",
         [](Document& d) { d.takeOption(0); },
         {u"renumbering option of 3x2"_s, u"renumbered option of 2x2"_s, u"changed"_s},
         names,
         u"O1,O2/C0,C1"_s},
        {"take and restore criterion",
         [](Document& d) { d.restoreCriterion(*d.takeCriterion(0)); },
         {u"renumbering criterion of 3x2"_s, u"renumbered criterion of 3x1"_s, u"changed"_s,
          u"renumbering criterion of 3x1"_s, u"renumbered criterion of 3x2"_s, u"changed"_s},
         names,
         u"O0,O1,O2/C0,C1"_s},
        {"move option right",
         [](Document& d) { d.moveEntry(EntryKind::Option, 1, MoveDirection::Forward); },
         {u"swapped option 1 2"_s, u"changed"_s},
         names,
         u"O0,O2,O1/C0,C1"_s},
        {"move criterion up",
         [](Document& d) { d.moveEntry(EntryKind::Criterion, 1, MoveDirection::Backward); },
         {u"swapped criterion 1 0"_s, u"changed"_s},
         names,
         u"O0,O1,O2/C1,C0"_s},
        {"move past the end",
         [](Document& d) { d.moveEntry(EntryKind::Option, 2, MoveDirection::Forward); },
         {},
         names,
         u"O0,O1,O2/C0,C1"_s},
        {"banner",
         [](Document& d) { d.setBanner(u"Cars"_s); },
         {u"banner Cars"_s, u"changed"_s},
         [](const Project&) { return QString(); },
         QString()},
        {"replace",
         [](Document& d) { d.replace(matrixProject(1, 4), u"Other"_s); },
         {u"replacing 3x2"_s, u"banner Other"_s, u"replaced 1x4"_s, u"changed"_s},
         names,
         u"O0/C0,C1,C2,C3"_s},
        {"focus",
         [](Document& d) { d.requestFocus(FocusTarget::RatingValue, 2, 1); },
         {u"focus value 2:1"_s},
         names,
         u"O0,O1,O2/C0,C1"_s},
    };
    for (const Case& c : cases) {
        Document document;
        document.replace(matrixProject(3, 2), u"Plan"_s);
        Announcements announcements(document);
        c.change(document);
        EXPECT_EQ(announcements.lines, c.announced) << c.name;
        EXPECT_EQ(c.fact(document.project()), c.expected) << c.name;
    }
}

TEST(Document, ReplacingStartsAFreshHistoryUnderTheNewBanner)
{
    Document document;
    document.replace(matrixProject(2, 2), u"Plan"_s);
    document.history().record(new NameStep(document, EntryKind::Option, 0, u"renamed"_s, 0));
    ASSERT_TRUE(document.history().canUndo());
    document.replace(matrixProject(1, 1), u"Other"_s);
    EXPECT_FALSE(document.history().canUndo());
    EXPECT_EQ(document.history().count(), 0);
    EXPECT_EQ(document.banner(), u"Other"_s);
    EXPECT_EQ(document.project().options()[0].Name, u"O0"_s);
}
