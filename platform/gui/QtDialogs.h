#pragma once

#include "platform/Dialogs.h"

class QWidget;

namespace ponderix {

// The dialogs as the user sees them: Qt's message boxes and file dialogs,
// owned by the window that is active when they are asked for.
class QtDialogs final : public Dialogs {
public:
    explicit QtDialogs(QWidget* owner);

    void setOwner(QWidget* owner) { m_owner = owner; }

    Answer message(const QString& title, const QString& text, Icon icon, Buttons buttons,
                   std::optional<Answer> defaultAnswer) override;
    FileChoice openFile(const QString& title, const QString& initialPath, const QString& patterns,
                        int selectedPattern) override;
    QStringList openFiles(const QString& title, const QString& initialPath, const QString& patterns) override;
    FileChoice saveFile(const QString& title, const QString& initialPath, const QString& patterns,
                        int selectedPattern) override;
    std::optional<QString> textEntry(const QString& title, const QString& prompt, const QString& initialText) override;
    void openExternal(const QUrl& url) override;
    void fileProperties(const QString& title, const QString& filePath) override;
    std::unique_ptr<QPrinter> choosePrinter(const QString& jobName) override;
    void printPreview(const QTextDocument& document) override;
    void runWithProgress(const QString& title, const QString& label, const QString& cancelText,
                         const std::function<void(const ProgressReport&)>& work) override;

private:
    QWidget* owner() const;

    QWidget* m_owner;
};

// "Ponderix (*.pnx)|*.pnx|..." as Qt name filters, one per description.
QStringList nameFiltersFromPatterns(const QString& patterns);

} // namespace ponderix
