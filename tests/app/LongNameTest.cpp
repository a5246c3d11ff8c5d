// A project with names and a comment of megabytes opens with every text the
// window shows cut to a few thousand characters, keeps them whole in the
// project, and saves them back whole.
#include "app/Application.h"

#include "app/MainWindow.h"
#include "app/ProjectFiles.h"
#include "document/EditHistory.h"
#include "editor/ImageButton.h"
#include "editor/MatrixCells.h"
#include "editor/MatrixView.h"
#include "tests/app/AppSandbox.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype kShownLimit = 4001; // 4000 characters and the ellipsis

// The writer drops outer blanks, so the lengths used end inside a word.
QByteArray repeated(const char* words, qsizetype length)
{
    const QByteArray unit(words);
    return unit.repeated(length / unit.size() + 1).first(length);
}

QString shown(const QByteArray& whole)
{
    return QString::fromLatin1(whole.first(4000)) + QChar(0x2026);
}

} // namespace

using LongNameTest = AppSandbox;

TEST_F(LongNameTest, OpensShowingCutTextsAndSavesTheWholeNames)
{
    const QByteArray option = repeated("option name ", 3'000'001);
    const QByteArray criterion = repeated("criterion name ", 3'000'001);
    const QByteArray comment = repeated("comment ", 3'000'001);
    const QString path = file(u"long.pnx"_s);
    ASSERT_TRUE(writeBytes(path, "<Ponderix><Options><Option Index=\"0\" Name=\"" + option
                                     + "\"/><Option Index=\"1\" Name=\"Two\"/></Options><Criteria>"
                                       "<Criterion Index=\"0\" Name=\""
                                     + criterion
                                     + "\" Importance=\"3\"/></Criteria><Ratings>"
                                       "<Rating IndexOption=\"0\" IndexCriteria=\"0\" Value=\"9\" Comment=\""
                                     + comment
                                     + "\"/><Rating IndexOption=\"1\" IndexCriteria=\"0\" Value=\"2\"/>"
                                       "</Ratings></Ponderix>"));
    auto application = startApplication({path});
    MatrixView& view = application->matrixView();
    QTRY_VERIFY(view.ratingCell(0, 0) && view.ratingCell(0, 0)->commentButton());

    EXPECT_EQ(view.optionCell(0)->nameField()->text(), shown(option));
    EXPECT_EQ(view.criterionCell(0)->nameField()->text(), shown(criterion));
    EXPECT_EQ(view.ratingCell(0, 0)->commentButton()->toolTip(), shown(comment));
    for (const QWidget* widget : application->mainWindow().findChildren<QWidget*>()) {
        EXPECT_LE(widget->toolTip().size(), kShownLimit) << widget->metaObject()->className();
        EXPECT_LE(widget->accessibleDescription().size(), kShownLimit) << widget->metaObject()->className();
        if (const auto* field = qobject_cast<const QLineEdit*>(widget)) {
            EXPECT_LE(field->text().size(), kShownLimit);
        }
        if (const auto* label = qobject_cast<const QLabel*>(widget)) {
            EXPECT_LE(label->text().size(), kShownLimit);
        }
    }
    // Showing the cut name wrote nothing back.
    EXPECT_EQ(application->project().options().front().Name, QString::fromLatin1(option));
    EXPECT_EQ(application->project().criteria().front().Name, QString::fromLatin1(criterion));
    EXPECT_EQ(application->project().ratings().front().Comment, QString::fromLatin1(comment));
    EXPECT_FALSE(application->document().history().canUndo());

    const QString saved = file(u"saved.pnx"_s);
    ASSERT_TRUE(application->projectFiles().save(saved));
    const QByteArray bytes = readBytes(saved);
    const auto attribute = [](const char* name, const QByteArray& value) -> QByteArray {
        return QByteArray(name) + "=\"" + value + '"';
    };
    EXPECT_TRUE(bytes.contains(attribute("Name", option)));
    EXPECT_TRUE(bytes.contains(attribute("Name", criterion)));
    EXPECT_TRUE(bytes.contains(attribute("Comment", comment)));

    // Typing into the cut field changes what it shows and keeps the hidden
    // rest; undo brings the name back as it was.
    QLineEdit* field = view.optionCell(0)->nameField();
    field->setFocus();
    field->home(false);
    QTest::keyClicks(field, u"ab"_s);
    EXPECT_EQ(application->project().options().front().Name, u"ab"_s + QString::fromLatin1(option));
    EXPECT_EQ(field->text(), u"ab"_s + shown(option));
    application->document().history().undo();
    EXPECT_EQ(application->project().options().front().Name, QString::fromLatin1(option));
}
