#pragma once

#include "base/SettingsFile.h"
#include "base/TextTable.h"
#include "platform/Folders.h"
#include "project/DemoProject.h"
#include "project/Project.h"
#include "project/ProjectReader.h"
#include "tests/ScriptedDialogs.h"
#include "windows/WindowContext.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QTemporaryDir>
#include <QWidget>

#include <functional>

#include <gtest/gtest.h>

namespace ponderix::test {

inline QString text(TextKey key)
{
    return uiText(key);
}

// Lets queued work run (deferred deletes included) until `done` holds or
// a few seconds have passed; true when it held.
inline bool waitUntil(const std::function<bool()>& done)
{
    QDeadlineTimer deadline(5000);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return true;
}

// The demo project, the user's folders in a sandbox, scripted dialogs and a
// plain widget standing in for the main window.
class WindowFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_sandbox.isValid());
        for (const char* folder : {"pictures", "documents", "temporary"})
            ASSERT_TRUE(QDir(m_sandbox.path()).mkpath(QString::fromUtf8(folder)));
        m_folders.pictures = m_sandbox.filePath(QStringLiteral("pictures/"));
        m_folders.documents = m_sandbox.filePath(QStringLiteral("documents/"));
        m_folders.temporary = m_sandbox.filePath(QStringLiteral("temporary/"));
        ReadResult demo = readProjectBytes(demoProjectBytes());
        ASSERT_TRUE(demo.ok());
        m_project = std::move(demo.project());
        m_document.setBanner(QStringLiteral("Cars"));
        m_mainWindow.setGeometry(100, 80, 900, 700);
        m_mainWindow.show();
    }

    // Hands the project the test set up to the document, as opening it would.
    WindowContext context(int desktopHeight = 1080)
    {
        m_document.replace(Project(m_project), m_document.banner(), m_project.path());
        return {m_document, m_settings, m_dialogs, m_folders, m_charts, &m_mainWindow, desktopHeight};
    }

    QString file(const QString& name) const { return m_sandbox.filePath(name); }

    QTemporaryDir m_sandbox;
    ApplicationFolders m_folders;
    Document m_document;
    Project m_project; // what the test sets up; context() opens it
    Settings m_settings;
    ScriptedDialogs m_dialogs;
    const ChartLibrary* m_charts = nullptr; // pages without charts unless a test loads them
    QWidget m_mainWindow;
};

} // namespace ponderix::test
