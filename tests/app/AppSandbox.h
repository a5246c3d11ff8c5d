#pragma once

#include "app/Application.h"
#include "base/TextTable.h"
#include "project/DemoProject.h"
#include "tests/ScriptedDialogs.h"
#include "tests/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <memory>

namespace ponderix::test {

// Every folder of the program, the state folder included, inside one
// temporary folder.
class AppSandbox : public ::testing::Test {
protected:
    void SetUp() override
    {
        using namespace Qt::StringLiterals;
        ASSERT_TRUE(m_sandbox.isValid());
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_sandbox.filePath(u"runtime"_s)));
        QDir(m_sandbox.path()).mkpath(u"runtime"_s);
        QDir(m_sandbox.path()).mkpath(u"documents"_s);
        m_folders.documents = m_sandbox.filePath(u"documents/"_s);
        m_folders.pictures = m_sandbox.filePath(u"pictures/"_s);
        m_folders.applicationData = m_sandbox.filePath(u"config/Ponderix/"_s);
        m_folders.temporary = m_sandbox.filePath(u"runtime/Ponderix/"_s);
        m_folders.state = m_sandbox.filePath(u"state/Ponderix/"_s);
        m_folders.programPath = QCoreApplication::applicationFilePath();
        m_folders.programFolder = QCoreApplication::applicationDirPath() + u'/';
    }

    std::unique_ptr<Application> startApplication(const QStringList& arguments = {})
    {
        auto application = std::make_unique<Application>(Application::Environment{arguments, &m_dialogs, m_folders});
        EXPECT_EQ(application->start(), Application::Start::Running);
        return application;
    }

    QString file(const QString& name) const { return m_sandbox.filePath(name); }
    QString writeDemo(const QString& name) const
    {
        const QString path = file(name);
        writeBytes(path, demoProjectBytes().toByteArray());
        return path;
    }

    QTemporaryDir m_sandbox;
    ApplicationFolders m_folders;
    ScriptedDialogs m_dialogs;
};

} // namespace ponderix::test
