#include "qt_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QStringList>

namespace sokoban {

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }
QString title() { return QApplication::applicationName().isEmpty() ? QStringLiteral("推箱子") : QApplication::applicationName(); }
} // namespace

QString qtFilter(const std::string& filter) {
    const QStringList parts = q(filter).split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString text = parts[i];
        QString pattern = parts[i + 1];
        pattern.replace(';', ' ');
        if (!text.contains('(' + pattern + ')')) text += " (" + pattern + ")";
        out << text;
    }
    return out.join(";;");
}

void QtDialogs::message(MessageKind kind, const std::string& text) {
    switch (kind) {
    case MessageKind::Warning:
        QMessageBox::warning(parent_, title(), q(text));
        break;
    case MessageKind::Information:
        QMessageBox::information(parent_, title(), q(text));
        break;
    case MessageKind::Error:
        QMessageBox::critical(parent_, title(), q(text));
        break;
    case MessageKind::Confirmation:
        confirm(text);
        break;
    }
}

bool QtDialogs::confirm(const std::string& text) {
    return QMessageBox::question(parent_, title(), q(text), QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

std::optional<std::string> QtDialogs::inputBox(const std::string& caption,
                                               const std::string& prompt,
                                               const std::string& initial) {
    bool ok = false;
    QString s = QInputDialog::getText(parent_, q(caption), q(prompt), QLineEdit::Normal, q(initial),
                                      &ok);
    if (!ok) return std::nullopt;
    return s.toStdString();
}

std::optional<std::string> QtDialogs::openFile(const std::string& filter,
                                               const std::string& initialDir) {
    QString f = QFileDialog::getOpenFileName(parent_, QString(), q(initialDir), qtFilter(filter));
    if (f.isEmpty()) return std::nullopt;
    return f.toStdString();
}

std::optional<std::string> QtDialogs::saveFile(const std::string& filter,
                                               const std::string& proposedName,
                                               const std::string& initialDir) {
    QString start = q(proposedName);
    if (!initialDir.empty()) start = q(initialDir) + "/" + start;
    QString f = QFileDialog::getSaveFileName(parent_, QString(), start, qtFilter(filter));
    if (f.isEmpty()) return std::nullopt;
    return f.toStdString();
}

void QtDialogs::fileError(const std::string& path, const std::string& reason) {
    QMessageBox::critical(parent_, title(), q(fileErrorText(path, reason)));
}

void QtDialogs::beep() { QApplication::beep(); }

} // namespace sokoban
