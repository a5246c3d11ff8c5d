#pragma once

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

namespace ponderix::test {

inline QString dataPath(const char* relative)
{
    return QString::fromUtf8(PONDERIX_TEST_DATA) + QLatin1Char('/') + QString::fromUtf8(relative);
}

inline QByteArray readBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

inline bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Compares exact bytes and, on a mismatch, names the first differing line so a
// golden-file failure is readable.
inline ::testing::AssertionResult sameBytes(const QByteArray& actual, const QByteArray& expected)
{
    if (actual == expected)
        return ::testing::AssertionSuccess();
    const QList<QByteArray> actualLines = actual.split('\n');
    const QList<QByteArray> expectedLines = expected.split('\n');
    for (qsizetype i = 0; i < std::max(actualLines.size(), expectedLines.size()); ++i) {
        const QByteArray got = actualLines.value(i, "<missing>");
        const QByteArray want = expectedLines.value(i, "<missing>");
        if (got != want) {
            return ::testing::AssertionFailure()
                   << "first difference at line " << i + 1 << "\n  actual:   " << got.toStdString()
                   << "\n  expected: " << want.toStdString();
        }
    }
    return ::testing::AssertionFailure() << "bytes differ";
}

// What a run of ponderix-cli left behind.
struct CliOutcome {
    int exitCode = -1; // -1 when it crashed or did not finish
    QString out;
    QString err;
};

inline CliOutcome runCli(const QStringList& arguments, const QString& workingFolder = QString())
{
    QProcess process;
    if (!workingFolder.isEmpty())
        process.setWorkingDirectory(workingFolder);
    // The expected texts are English whatever the machine's locale.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LANGUAGE"), QStringLiteral("en"));
    process.setProcessEnvironment(environment);
    process.start(QString::fromUtf8(PONDERIX_CLI), arguments);
    process.waitForFinished(120000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

} // namespace ponderix::test
