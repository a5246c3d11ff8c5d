// The File menu's decision record, run the way the user runs it.
#include "app/Application.h"
#include "app/MainWindow.h"
#include "tests/app/AppSandbox.h"

#include <QMenuBar>

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

TEST_F(AppSandbox, TheFileMenuExportsTheDecisionRecordAfterTheTextExport)
{
    auto application = startApplication();
    MainWindow& window = application->mainWindow();
    const QList<QAction*> menus = window.menuBar()->actions();
    ASSERT_FALSE(menus.isEmpty());
    ASSERT_NE(menus[0]->menu(), nullptr);
    QStringList items;
    for (const QAction* item : menus[0]->menu()->actions())
        items << item->text();
    const qsizetype textExport = items.indexOf(u"E&xport as text..."_s);
    ASSERT_GE(textExport, 0);
    EXPECT_EQ(items.value(textExport + 1), u"Export decision record…"_s);
    EXPECT_EQ(window.action(Command::DecisionRecord)->shortcut(), QKeySequence(u"Ctrl+R"_s));

    m_dialogs.answers = {Dialogs::Answer::Yes};
    window.trigger(Command::Demo);
    m_dialogs.files.push_back({file(u"cars"_s), 1});
    window.trigger(Command::DecisionRecord);
    EXPECT_TRUE(readBytes(file(u"cars.pdf"_s)).startsWith("%PDF-"));
    EXPECT_FALSE(m_dialogs.progressReports.isEmpty());
}
