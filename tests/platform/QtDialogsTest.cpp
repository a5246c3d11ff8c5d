// The real Qt dialogs, answered by a timer once they are up: what they show
// and what they give back.
#include "platform/gui/QtDialogs.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextDocument>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace ponderix;
using namespace Qt::StringLiterals;

namespace {

// Runs `answer` on the next modal dialog as soon as it is up; the dialog's
// own event loop runs the timer.
void whenADialogShows(const std::function<void(QDialog&)>& answer)
{
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, answer] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        answer(*dialog);
    });
    timer->start();
}

// The text a label puts on the screen: read as markup when it takes its
// text for markup.
QString shownText(const QLabel& label)
{
    const bool markup =
        label.textFormat() == Qt::RichText || (label.textFormat() == Qt::AutoText && Qt::mightBeRichText(label.text()));
    if (!markup)
        return label.text();
    QTextDocument document;
    document.setHtml(label.text());
    return document.toPlainText();
}

// A comment longer than a line edit keeps by default, different all along
// so that a cut anywhere shows.
QString longComment()
{
    QString comment;
    for (int i = 0; comment.size() < 40'000; ++i)
        comment += QString::number(i) + u' ';
    return comment + u"END"_s;
}

} // namespace

TEST(QtDialogsTest, TheTextEntryTakesACommentOfAnyLengthWhole)
{
    const QString comment = longComment();
    ASSERT_GT(comment.size(), 32'767);
    QtDialogs dialogs(nullptr);

    // Held in a plain-text editor, which stays quick on megabytes.
    QString shown;
    whenADialogShows([&shown](QDialog& dialog) {
        if (auto* editor = dialog.findChild<QPlainTextEdit*>())
            shown = editor->toPlainText();
        dialog.accept();
    });
    const std::optional<QString> unchanged = dialogs.textEntry(u"Comment"_s, u"Comment A:1"_s, comment);
    EXPECT_EQ(shown.size(), comment.size());
    ASSERT_TRUE(unchanged);
    EXPECT_EQ(unchanged->size(), comment.size());
    EXPECT_EQ(*unchanged, comment);

    // Typing goes on past the old limit too.
    whenADialogShows([](QDialog& dialog) {
        if (auto* editor = dialog.findChild<QPlainTextEdit*>())
            QTest::keyClicks(editor, u"!?"_s);
        dialog.accept();
    });
    const std::optional<QString> longer = dialogs.textEntry(u"Comment"_s, u"Comment A:1"_s, comment);
    ASSERT_TRUE(longer);
    EXPECT_EQ(*longer, comment + u"!?"_s);
}

TEST(QtDialogsTest, ADialogOpensOverTheWindowTheUserIsIn)
{
    QWidget mainWindow;
    QWidget otherWindow; // not modal, like the robustness window
    mainWindow.show();
    otherWindow.show();
    QtDialogs dialogs(&mainWindow);
    for (QWidget* active : {&otherWindow, &mainWindow}) {
        QApplication::setActiveWindow(active);
        if (QApplication::activeWindow() != active)
            GTEST_SKIP() << "the platform makes no window active";
        QWidget* over = nullptr;
        whenADialogShows([&over](QDialog& dialog) {
            over = dialog.parentWidget();
            dialog.reject();
        });
        dialogs.message(u"Title"_s, u"Text"_s, Dialogs::Icon::None, Dialogs::Buttons::Ok, std::nullopt);
        EXPECT_EQ(over, active);
    }
}

TEST(QtDialogsTest, MessagesAndPromptsShowUserTextAsTyped)
{
    QtDialogs dialogs(nullptr);
    QString message;
    whenADialogShows([&message](QDialog& dialog) {
        if (auto* label = dialog.findChild<QLabel*>(u"qt_msgbox_label"_s))
            message = shownText(*label);
        dialog.reject();
    });
    // A write error starts with the file's path.
    dialogs.message(u"Error"_s, u"/home/me/<b>Plan</b> &amp; more.pnx\r\n\r\nPermission denied"_s, Dialogs::Icon::None,
                    Dialogs::Buttons::Ok, std::nullopt);
    EXPECT_EQ(message, u"/home/me/<b>Plan</b> &amp; more.pnx\n\nPermission denied"_s);

    QString prompt;
    whenADialogShows([&prompt](QDialog& dialog) {
        if (auto* label = dialog.findChild<QLabel*>())
            prompt = shownText(*label);
        dialog.reject();
    });
    EXPECT_FALSE(dialogs.textEntry(u"Comment"_s, u"<i>Comment</i> A:1"_s, QString()));
    EXPECT_EQ(prompt, u"<i>Comment</i> A:1"_s);
}
