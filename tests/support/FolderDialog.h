// Answers the folder chooser the program opens next, as a person picking a
// folder would: the chooser runs modally, so the answer waits on the event
// loop until the dialog is up.
#pragma once

#include <QApplication>
#include <QFileDialog>
#include <QTimer>

namespace testsupport {

inline void ChooseFolderWhenAsked(const QString& folder) {
    auto* poll = new QTimer(QApplication::instance());
    QObject::connect(poll, &QTimer::timeout, poll, [poll, folder] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr)
            return;
        poll->stop();
        poll->deleteLater();
        dialog->setDirectory(folder);
        dialog->selectFile(folder);
        // QFileDialog::accept checks the choice as the Open button would.
        static_cast<QDialog*>(dialog)->accept();
    });
    poll->start(5);
}

} // namespace testsupport
