#pragma once

#include "platform/Dialogs.h"

#include <QList>
#include <QPrinter>
#include <QString>
#include <QTextDocument>
#include <QUrl>

#include <deque>
#include <optional>
#include <utility>

namespace ponderix::test {

// Answers the program's dialogs from a script and records what was asked, so
// widget tests never block on a dialog and can check what the user was told.
class ScriptedDialogs final : public Dialogs {
public:
    struct Asked {
        QString title;
        QString text;
        Icon icon = Icon::None;
        Buttons buttons = Buttons::Ok;
        std::optional<Answer> defaultAnswer;
    };

    // Script: answers are used in order; a message with no scripted answer
    // gets Ok / No / Cancel (the harmless choice), a file dialog gets
    // cancelled, a text entry gets cancelled.
    std::deque<Answer> answers;
    std::deque<FileChoice> files;
    std::deque<QStringList> fileLists; // several-file dialogs; none left cancels
    std::deque<std::optional<QString>> entries;

    QList<Asked> messages;
    QList<Asked> fileDialogs; // title, and the initial path in `text`
    QList<Asked> textEntries; // title, prompt in `text`
    QStringList fileDialogPatterns;
    QList<int> fileDialogSelectedPatterns;
    QList<QUrl> opened;
    QStringList propertiesShown;
    // Print dialogs: each takes the next entry, a PDF file to print to; an
    // empty entry, or none left, cancels. The job names asked for are kept.
    std::deque<QString> printerFiles;
    int printerResolution = 0; // dots per inch of the PDF printers; 0 for Qt's own
    QStringList printJobs;
    // Print previews: the plain text of each document shown.
    QStringList previewedDocuments;
    // Work run with progress: title, and label|cancel caption in `text`;
    // each report of parts done and total; where the user cancels.
    QList<Asked> progressDialogs;
    QList<std::pair<int, int>> progressReports;
    std::optional<int> cancelAtPart;

    Answer message(const QString& title, const QString& text, Icon icon, Buttons buttons,
                   std::optional<Answer> defaultAnswer) override
    {
        messages.append({title, text, icon, buttons, defaultAnswer});
        if (!answers.empty()) {
            const Answer answer = answers.front();
            answers.pop_front();
            return answer;
        }
        switch (buttons) {
        case Buttons::Ok:
            return Answer::Ok;
        case Buttons::YesNo:
            return Answer::No;
        case Buttons::YesNoCancel:
            return Answer::Cancel;
        }
        return Answer::Ok;
    }

    FileChoice openFile(const QString& title, const QString& initialPath, const QString& patterns,
                        int selectedPattern) override
    {
        return nextFile(title, initialPath, patterns, selectedPattern);
    }

    QStringList openFiles(const QString& title, const QString& initialPath, const QString& patterns) override
    {
        fileDialogs.append({title, initialPath, Icon::None, Buttons::Ok, std::nullopt});
        fileDialogPatterns.append(patterns);
        if (fileLists.empty())
            return {};
        const QStringList chosen = fileLists.front();
        fileLists.pop_front();
        return chosen;
    }

    FileChoice saveFile(const QString& title, const QString& initialPath, const QString& patterns,
                        int selectedPattern) override
    {
        return nextFile(title, initialPath, patterns, selectedPattern);
    }

    std::optional<QString> textEntry(const QString& title, const QString& prompt, const QString& initialText) override
    {
        textEntries.append({title, prompt + u'|' + initialText, Icon::None, Buttons::Ok, std::nullopt});
        if (entries.empty() || !entries.front()) {
            if (!entries.empty())
                entries.pop_front();
            return std::nullopt;
        }
        const QString text = *entries.front();
        entries.pop_front();
        return text;
    }

    void openExternal(const QUrl& url) override { opened.append(url); }
    void fileProperties(const QString&, const QString& filePath) override { propertiesShown.append(filePath); }

    std::unique_ptr<QPrinter> choosePrinter(const QString& jobName) override
    {
        printJobs.append(jobName);
        if (printerFiles.empty())
            return nullptr;
        const QString file = printerFiles.front();
        printerFiles.pop_front();
        if (file.isEmpty())
            return nullptr;
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(file);
        if (printerResolution > 0)
            printer->setResolution(printerResolution);
        printer->setDocName(jobName);
        return printer;
    }

    void printPreview(const QTextDocument& document) override { previewedDocuments.append(document.toPlainText()); }

    // Runs the work here and now; the script's Cancel comes once it reports
    // `cancelAtPart` parts done.
    void runWithProgress(const QString& title, const QString& label, const QString& cancelText,
                         const std::function<void(const ProgressReport&)>& work) override
    {
        progressDialogs.append({title, label + u'|' + cancelText, Icon::None, Buttons::Ok, std::nullopt});
        work([this](int done, int total) {
            progressReports.append({done, total});
            return !cancelAtPart || done < *cancelAtPart;
        });
    }

    QString lastText() const { return messages.isEmpty() ? QString() : messages.last().text; }
    QString lastTitle() const { return messages.isEmpty() ? QString() : messages.last().title; }

private:
    FileChoice nextFile(const QString& title, const QString& initialPath, const QString& patterns, int selectedPattern)
    {
        fileDialogs.append({title, initialPath, Icon::None, Buttons::Ok, std::nullopt});
        fileDialogPatterns.append(patterns);
        fileDialogSelectedPatterns.append(selectedPattern);
        if (files.empty())
            return {};
        FileChoice choice = files.front();
        files.pop_front();
        return choice;
    }
};

} // namespace ponderix::test
