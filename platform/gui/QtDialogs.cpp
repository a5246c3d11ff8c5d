#include "platform/gui/QtDialogs.h"

#include "base/DisplayText.h"
#include "base/TextTable.h"
#include "platform/DocumentPrinting.h"
#include "platform/FileFacts.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFormLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QTextDocument>
#include <QThread>

#include <atomic>
#include <limits>

namespace ponderix {

using namespace Qt::StringLiterals;

namespace {

QMessageBox::Icon qtIcon(Dialogs::Icon icon)
{
    switch (icon) {
    case Dialogs::Icon::None:
        return QMessageBox::NoIcon;
    case Dialogs::Icon::Information:
        return QMessageBox::Information;
    case Dialogs::Icon::Question:
        return QMessageBox::Question;
    case Dialogs::Icon::Warning:
        return QMessageBox::Warning;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton qtButton(Dialogs::Answer answer)
{
    switch (answer) {
    case Dialogs::Answer::Ok:
        return QMessageBox::Ok;
    case Dialogs::Answer::Yes:
        return QMessageBox::Yes;
    case Dialogs::Answer::No:
        return QMessageBox::No;
    case Dialogs::Answer::Cancel:
        return QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButtons qtButtons(Dialogs::Buttons buttons)
{
    switch (buttons) {
    case Dialogs::Buttons::Ok:
        return QMessageBox::Ok;
    case Dialogs::Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Dialogs::Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

Dialogs::Answer answerFor(int button, Dialogs::Buttons buttons)
{
    switch (button) {
    case QMessageBox::Yes:
        return Dialogs::Answer::Yes;
    case QMessageBox::No:
        return Dialogs::Answer::No;
    case QMessageBox::Cancel:
        return Dialogs::Answer::Cancel;
    case QMessageBox::Ok:
        return Dialogs::Answer::Ok;
    default:
        // Escape or the close box: the safest answer the box offers.
        return buttons == Dialogs::Buttons::YesNoCancel ? Dialogs::Answer::Cancel
               : buttons == Dialogs::Buttons::YesNo     ? Dialogs::Answer::No
                                                        : Dialogs::Answer::Ok;
    }
}

QString qtText(const QString& text)
{
    // Message texts are composed with CR LF; Qt wants plain line feeds.
    QString plain = text;
    return plain.replace(u"\r\n"_s, u"\n"_s);
}

Dialogs::FileChoice choiceFrom(const QString& path, const QString& selectedFilter, const QStringList& filters)
{
    if (path.isEmpty())
        return {};
    return {path, std::max(0, static_cast<int>(filters.indexOf(selectedFilter)))};
}

} // namespace

QStringList nameFiltersFromPatterns(const QString& patterns)
{
    const QStringList parts = patterns.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        const QString pattern = QString(parts[i + 1]).replace(u';', u' ');
        // Qt reads the pattern from the parentheses; add them when the
        // description does not already show it.
        if (!description.contains(u'('))
            description += u" ("_s + pattern + u")"_s;
        else if (!description.endsWith(u'(' + pattern + u')'))
            description = description.left(description.lastIndexOf(u'(')).trimmed() + u" ("_s + pattern + u")"_s;
        filters << description;
    }
    return filters;
}

QtDialogs::QtDialogs(QWidget* owner) : m_owner(owner) { }

QWidget* QtDialogs::owner() const
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    // A window that is not modal, such as the live robustness window, has
    // its dialogs over itself rather than over the main window behind it.
    if (QWidget* active = QApplication::activeWindow())
        return active;
    return m_owner;
}

Dialogs::Answer QtDialogs::message(const QString& title, const QString& text, Icon icon, Buttons buttons,
                                   std::optional<Answer> defaultAnswer)
{
    QMessageBox box(qtIcon(icon), title, qtText(text), qtButtons(buttons), owner());
    // Messages quote names, comments and file names as they were typed; one
    // that looks like markup must not be read as markup.
    box.setTextFormat(Qt::PlainText);
    if (defaultAnswer)
        box.setDefaultButton(qtButton(*defaultAnswer));
    return answerFor(box.exec(), buttons);
}

Dialogs::FileChoice QtDialogs::openFile(const QString& title, const QString& initialPath, const QString& patterns,
                                        int selectedPattern)
{
    const QStringList filters = nameFiltersFromPatterns(patterns);
    QString selected = filters.value(selectedPattern);
    const QString path = QFileDialog::getOpenFileName(owner(), title, initialPath, filters.join(u";;"_s), &selected);
    return choiceFrom(path, selected, filters);
}

QStringList QtDialogs::openFiles(const QString& title, const QString& initialPath, const QString& patterns)
{
    const QStringList filters = nameFiltersFromPatterns(patterns);
    return QFileDialog::getOpenFileNames(owner(), title, initialPath, filters.join(u";;"_s));
}

Dialogs::FileChoice QtDialogs::saveFile(const QString& title, const QString& initialPath, const QString& patterns,
                                        int selectedPattern)
{
    const QStringList filters = nameFiltersFromPatterns(patterns);
    QString selected = filters.value(selectedPattern);
    // The program asks its own overwrite questions where it wants them.
    const QString path = QFileDialog::getSaveFileName(owner(), title, initialPath, filters.join(u";;"_s), &selected,
                                                      QFileDialog::DontConfirmOverwrite);
    return choiceFrom(path, selected, filters);
}

std::optional<QString> QtDialogs::textEntry(const QString& title, const QString& prompt, const QString& initialText)
{
    QInputDialog dialog(owner());
    dialog.setWindowTitle(title);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setLabelText(prompt);
    if (auto* label = dialog.findChild<QLabel*>())
        label->setTextFormat(Qt::PlainText);
    // A line edit keeps 32,767 characters unless told otherwise, and would
    // cut a longer comment from a file when OK is pressed, changed or not.
    // Set before the text goes in, which the limit would already cut.
    if (auto* field = dialog.findChild<QLineEdit*>())
        field->setMaxLength(std::numeric_limits<int>::max());
    // A line field lays out its whole text on every key and takes seconds
    // for megabytes; the plain-text editor holds such a text whole and
    // stays quick.
    if (isCutForDisplay(initialText))
        dialog.setOption(QInputDialog::UsePlainTextEditForTextInput);
    dialog.setTextValue(initialText);
    // The dialog selects its whole text as it shows, and the first key typed
    // would throw the old comment away; the cursor waits after it instead.
    // Queued, so that it runs once the dialog is up.
    QMetaObject::invokeMethod(
        &dialog,
        [&dialog] {
            if (auto* field = dialog.findChild<QLineEdit*>()) {
                field->deselect();
                field->end(false);
            }
            if (auto* editor = dialog.findChild<QPlainTextEdit*>())
                editor->moveCursor(QTextCursor::End);
        },
        Qt::QueuedConnection);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

void QtDialogs::openExternal(const QUrl& url)
{
    QDesktopServices::openUrl(url);
}

void QtDialogs::fileProperties(const QString& title, const QString& filePath)
{
    const FileFacts facts = describeFile(filePath);
    QDialog dialog(owner());
    dialog.setWindowTitle(title);
    auto* form = new QFormLayout(&dialog);
    auto addRow = [&](const QString& label, const QString& value) {
        auto* field = new QLabel(value, &dialog);
        field->setTextFormat(Qt::PlainText); // a file name is not markup
        field->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addRow(label, field);
    };
    const QLocale locale;
    addRow(uiText(TextKey::TXT00870), facts.path);
    addRow(uiText(TextKey::TXT00871),
           facts.size < 0 ? QString() : uiText(TextKey::TXT00872).arg(locale.toString(facts.size)));
    addRow(uiText(TextKey::TXT00873), locale.toString(facts.modified, QLocale::LongFormat));
    addRow(u"SHA-256:"_s, facts.sha256);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    dialog.exec();
}

std::unique_ptr<QPrinter> QtDialogs::choosePrinter(const QString& jobName)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setDocName(jobName);
    QPrintDialog dialog(printer.get(), owner());
    // Every job of the program is one page: there is no range to choose.
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    if (dialog.exec() != QDialog::Accepted)
        return nullptr;
    return printer;
}

void QtDialogs::printPreview(const QTextDocument& document)
{
    QPrinter printer(QPrinter::HighResolution);
    // The margins a browser prints with; the page set-up of the preview can
    // change them.
    printer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
    QPrintPreviewDialog dialog(&printer, owner());
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&document](QPrinter* target) { printDocument(document, *target); });
    dialog.exec();
}

void QtDialogs::runWithProgress(const QString& title, const QString& label, const QString& cancelText,
                                const std::function<void(const ProgressReport&)>& work)
{
    std::atomic<int> done = 0;
    std::atomic<int> total = 0;
    std::atomic<bool> cancelled = false;
    const std::unique_ptr<QThread> worker(QThread::create([&] {
        work([&](int partsDone, int partsTotal) {
            total = partsTotal;
            done = partsDone;
            return !cancelled.load();
        });
    }));

    QProgressDialog dialog(label, cancelText, 0, 0, owner());
    dialog.setWindowTitle(title);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    // Shown when we say, not when Qt's estimate does.
    dialog.setMinimumDuration(std::numeric_limits<int>::max());
    QObject::connect(&dialog, &QProgressDialog::canceled, &dialog, [&cancelled] { cancelled = true; });

    constexpr int kShowAfterMs = 1000;
    constexpr int kPollMs = 30;
    QElapsedTimer clock;
    clock.start();
    worker->start();
    while (!worker->wait(QDeadlineTimer(kPollMs))) {
        if (!dialog.isVisible() && clock.elapsed() >= kShowAfterMs)
            dialog.show();
        if (dialog.isVisible()) {
            dialog.setMaximum(std::max(total.load(), 1));
            dialog.setValue(std::min(done.load(), dialog.maximum()));
        }
        // Until the dialog stands in front, clicks and keys wait: the work
        // reads the project, which nothing may change meanwhile.
        QCoreApplication::processEvents(dialog.isVisible() ? QEventLoop::AllEvents
                                                           : QEventLoop::ExcludeUserInputEvents);
    }
}

} // namespace ponderix
