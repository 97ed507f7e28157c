#include "qt_dialogs.h"

#include "ui/messages.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QRegularExpression>
#include <QScreen>
#include <QStringList>

#include <algorithm>
#include <utility>

namespace sokoban {

namespace {
QString q(const std::string& s) {
    return QString::fromStdString(s);
}
QString title() {
    const QString name = QApplication::applicationName();
    return name.isEmpty() || name == QStringLiteral("推箱子")
               ? QCoreApplication::translate("sokoban::QtDialogs", "推箱子")
               : name;
}
// Wide enough for the name, size, type and date columns of the file list.
void sizeFileDialog(QFileDialog& d, const QWidget* owner) {
    QSize size(820, 520);
    const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen) size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    d.resize(size);
}
} // namespace

std::string nativePath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString shownPath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

QWidget* QtDialogs::owner() const {
    // A hidden window (the main window while the designer is up) cannot
    // hold a message; the window the user works in then does.
    QWidget* own = parent_ ? parent_->window() : nullptr;
    if (own && own->isVisible()) return own;
    if (QWidget* active = QApplication::activeWindow()) return active;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowType() == Qt::Window) return w;
    return own;
}

void QtDialogs::prepare(QDialog& dialog) {
    // A tool window that stays on top (level manager, XSB viewer, palette)
    // would cover a message of a window below it: the message stays on top then.
    for (const QWidget* w : QApplication::topLevelWidgets())
        if (w != &dialog && w->isVisible() && w->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
            dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
            break;
        }
}

int QtDialogs::showBox(int icon, const std::string& text, int buttons, int defaultButton) {
    QMessageBox box(static_cast<QMessageBox::Icon>(icon), title(), q(text),
                    static_cast<QMessageBox::StandardButtons>(buttons), owner(), kDialogFlags);
    box.setDefaultButton(static_cast<QMessageBox::StandardButton>(defaultButton));
    prepare(box);
    return box.exec();
}

QString qtFilter(const std::string& filter) {
    static const QRegularExpression separators("[;,\\s]+");
    static const QRegularExpression shown("\\(([^()]*)\\)\\s*$");
    const QStringList parts = q(filter).split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString text = parts[i];
        const QStringList patterns = parts[i + 1].split(separators, Qt::SkipEmptyParts);
        const QString qtPatterns = "(" + patterns.join(' ') + ")";
        // Qt reads the patterns from the last parentheses of the text, blank
        // separated: patterns the text shows are written there in that form.
        const QRegularExpressionMatch m = shown.match(text);
        QStringList inText;
        if (m.hasMatch()) inText = m.captured(1).split(separators, Qt::SkipEmptyParts);
        const bool showsThem = !inText.isEmpty() &&
                               std::all_of(patterns.begin(), patterns.end(), [&](const QString& p) {
                                   return inText.contains(p, Qt::CaseInsensitive);
                               });
        if (showsThem)
            text.replace(m.capturedStart(0), m.capturedLength(0), qtPatterns);
        else
            text += " " + qtPatterns;
        out << text;
    }
    return out.join(";;");
}

void QtDialogs::message(MessageKind kind, const Message& m) {
    message(kind, words(m));
}

bool QtDialogs::confirm(const Message& question) {
    return confirm(words(question));
}

std::optional<std::string> QtDialogs::inputBox(const Message& caption, const Message& prompt,
                                               const std::string& initial) {
    return inputBox(words(caption), words(prompt), initial);
}

std::optional<std::string> QtDialogs::openFile(const Message& filter,
                                               const std::string& initialDir) {
    return openFile(words(filter), initialDir);
}

std::optional<std::string> QtDialogs::saveFile(const Message& filter,
                                               const std::string& proposedName,
                                               const std::string& initialDir) {
    return saveFile(words(filter), proposedName, initialDir);
}

void QtDialogs::release() {
    holding_ = false;
    for (const Held& h : std::exchange(held_, {}))
        message(h.kind, h.text);
}

void QtDialogs::message(MessageKind kind, const std::string& text) {
    if (holding_ && kind != MessageKind::Confirmation) {
        held_.push_back({kind, text});
        return;
    }
    switch (kind) {
    case MessageKind::Warning:
        showBox(QMessageBox::Warning, text, QMessageBox::Ok, QMessageBox::Ok);
        break;
    case MessageKind::Information:
        showBox(QMessageBox::Information, text, QMessageBox::Ok, QMessageBox::Ok);
        break;
    case MessageKind::Error:
        showBox(QMessageBox::Critical, text, QMessageBox::Ok, QMessageBox::Ok);
        break;
    case MessageKind::Confirmation:
        confirm(text);
        break;
    }
}

bool QtDialogs::confirm(const std::string& text) {
    return showBox(QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No,
                   QMessageBox::NoButton) == QMessageBox::Yes;
}

Answer QtDialogs::askYesNoCancel(const std::string& text) {
    const int answer =
        showBox(QMessageBox::Question, text,
                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    return answer == QMessageBox::Yes  ? Answer::Yes
           : answer == QMessageBox::No ? Answer::No
                                       : Answer::Cancel;
}

std::optional<std::string> QtDialogs::inputBox(const std::string& caption,
                                               const std::string& prompt,
                                               const std::string& initial) {
    QInputDialog d(owner(), kDialogFlags);
    d.setInputMode(QInputDialog::TextInput);
    d.setWindowTitle(q(caption));
    d.setLabelText(q(prompt));
    d.setTextValue(q(initial));
    prepare(d);
    if (d.exec() != QDialog::Accepted) return std::nullopt;
    return d.textValue().toStdString();
}

std::optional<std::string> QtDialogs::openFile(const std::string& filter,
                                               const std::string& initialDir) {
    QFileDialog d(owner(), QString(), shownPath(initialDir), qtFilter(filter));
    d.setAcceptMode(QFileDialog::AcceptOpen);
    d.setFileMode(QFileDialog::ExistingFile);
    sizeFileDialog(d, owner());
    prepare(d);
    if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return std::nullopt;
    return nativePath(d.selectedFiles().front());
}

std::optional<std::string> QtDialogs::saveFile(const std::string& filter,
                                               const std::string& proposedName,
                                               const std::string& initialDir) {
    QString start = shownPath(proposedName);
    if (!initialDir.empty()) start = shownPath(initialDir) + "/" + start;
    QFileDialog d(owner(), QString(), start, qtFilter(filter));
    d.setAcceptMode(QFileDialog::AcceptSave);
    d.setFileMode(QFileDialog::AnyFile);
    sizeFileDialog(d, owner());
    prepare(d);
    if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return std::nullopt;
    return nativePath(d.selectedFiles().front());
}

void QtDialogs::beep() {
    QApplication::beep();
}

// The model's messages in the player's words, in the same dialogs.
std::string QtDialogs::words(const Message& m) const {
    return messageText(m).toStdString();
}

} // namespace sokoban
