#include "app/MainWindow.h"
#include "base/Language.h"
#include "tests/app/AppSandbox.h"

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTimer>

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

namespace {

// The msgstr of one key, read straight from the PO file: what a translator
// wrote, not what the program made of it.
QString poTranslation(const QString& language, const QString& key)
{
    QFile file(QStringLiteral(PONDERIX_SOURCE_DIR "/po/") + language + u".po"_s);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString po = QString::fromUtf8(file.readAll());
    const QRegularExpression entry(u"msgctxt \""_s + key + u"\"\nmsgid .*\nmsgstr ((?:\".*\"\n)+)"_s);
    QString translation;
    static const QRegularExpression piece(u"\"(.*)\""_s);
    for (const QRegularExpressionMatch& match : piece.globalMatch(entry.match(po).captured(1)))
        translation += match.captured(1);
    return translation.replace(u"\\\""_s, u"\""_s).replace(u"\\\\"_s, u"\\"_s);
}

QString withoutAccelerator(QString text)
{
    return text.remove(QRegularExpression(u"&(?!&)"_s));
}

// What the accessibility interface gives under each node, as a screen reader reads it.
void collectNames(QAccessibleInterface* node, QStringList& names)
{
    if (!node)
        return;
    names << node->text(QAccessible::Name) << node->text(QAccessible::Value) << node->text(QAccessible::Description);
    for (int i = 0; i < node->childCount(); ++i)
        collectNames(node->child(i), names);
}

QChar acceleratorOf(const QString& text)
{
    const QRegularExpressionMatch match = QRegularExpression(u"&([^&])"_s).match(text);
    return match.hasMatch() ? match.captured(1).front().toLower() : QChar();
}

// No two entries of one menu may answer the same key.
void expectDistinctAccelerators(const QList<QAction*>& actions, const QString& menu)
{
    QHash<QChar, QString> taken;
    for (const QAction* action : actions) {
        const QChar key = acceleratorOf(action->text());
        if (key.isNull())
            continue;
        EXPECT_FALSE(taken.contains(key))
            << menu.toStdString() << ": " << action->text().toStdString() << " and " << taken.value(key).toStdString();
        taken.insert(key, action->text());
    }
}

class LanguageStart : public AppSandbox, public ::testing::WithParamInterface<QString> {
protected:
    void SetUp() override
    {
        AppSandbox::SetUp();
        qputenv("LANGUAGE", GetParam().toUtf8());
        qunsetenv("LC_ALL");
        qunsetenv("LC_MESSAGES");
        qputenv("LANG", "en_US.UTF-8");
        // As the program's start does it.
        chooseLanguageOfThisRun({});
    }
    void TearDown() override
    {
        qunsetenv("LANGUAGE");
        chooseLanguage(u"en"_s);
    }
};

} // namespace

TEST_P(LanguageStart, MenuBarAndMessagesReadInTheLanguage)
{
    ASSERT_EQ(chosenLanguage(), GetParam());
    auto application = startApplication();
    QMenuBar* bar = application->mainWindow().menuBar();
    QStringList titles;
    QAccessibleInterface* barInterface = QAccessible::queryAccessibleInterface(bar);
    ASSERT_NE(barInterface, nullptr);
    for (int i = 0; i < barInterface->childCount(); ++i)
        titles << barInterface->child(i)->text(QAccessible::Name);
    QStringList expected;
    for (const QString& key : {u"MEN00001"_s, u"MEN00002"_s, u"MEN00003"_s}) {
        const QString translation = poTranslation(GetParam(), key);
        ASSERT_FALSE(translation.isEmpty()) << key.toStdString();
        expected << withoutAccelerator(translation);
    }
    expected << u"?"_s;
    EXPECT_EQ(titles, expected);

    expectDistinctAccelerators(bar->actions(), u"menu bar"_s);
    for (const QAction* title : bar->actions()) {
        if (title->menu())
            expectDistinctAccelerators(title->menu()->actions(), title->text());
    }

    // A second copy refuses to start with a real message box.
    QStringList shown;
    QTimer poll;
    poll.callOnTimeout(&poll, [&shown] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            collectNames(QAccessible::queryAccessibleInterface(box), shown);
            box->accept();
        }
    });
    poll.start(20);
    Application second({{}, nullptr, m_folders});
    EXPECT_EQ(second.start(), Application::Start::SecondInstance);
    EXPECT_TRUE(shown.contains(poTranslation(GetParam(), u"TXT00041"_s))) << shown.join(u" | "_s).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Languages, LanguageStart, ::testing::ValuesIn(availableLanguages().mid(1)),
                         [](const ::testing::TestParamInfo<QString>& language) {
                             return language.param.toStdString();
                         });
