#include "mailbox/ExportCommand.h"

#include "app/BoardText.h"
#include "app/Dialogs.h"
#include "app/Session.h"
#include "reader/OutputCommands.h"

#include "MessageOutput.h"
#include "Mbox.h"
#include "TextHelpers.h"

#include <QCoreApplication>
#include <QFile>
#include <QProgressDialog>

namespace kesto::ui {
namespace {

const QString kTitle = QStringLiteral("Kesto - Export");
// The dialog is brought up to date every this many messages: each update lets the
// window's events run, which costs more than writing a message.
constexpr std::size_t kProgressStep = 64;

} // namespace

bool ExportMailbox(QWidget* parent, Session& s, std::vector<kesto::RecordNo> numbers) {
    const bool received = s.CurrentMailbox == kesto::Mailbox::Received;
    const QString defaultName = FromBoard(kesto::SafeFileName(kesto::Trim(s.CurrentUser.Handle))) +
                                (received ? QStringLiteral(" received.mbox") : QStringLiteral(" sent.mbox"));
    const QString path = GetDialogs().GetSaveFileName(parent, kTitle, QString(), defaultName,
                                                      QStringLiteral("Mailbox (*.mbox);;All Files (*)"));
    if (path.isEmpty()) return false;

    const int total = static_cast<int>(numbers.size());
    QProgressDialog progress(QStringLiteral("Exporting %1 messages...").arg(total), QStringLiteral("Cancel"),
                             0, total, parent);
    progress.setObjectName(QStringLiteral("dlgExportProgress"));
    progress.setWindowTitle(kTitle);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    const kesto::Result<kesto::MboxSummary> done = kesto::ExportMbox(
        s.board, s.CurrentMailbox, std::move(numbers), QFile::encodeName(path).toStdString(),
        [&progress](std::size_t written, std::size_t all) {
            if (written % kProgressStep != 0 && written != all) return true;
            // The dialog shows once the export looks long; until then the window still
            // repaints, but takes no input.
            if (!progress.isVisible()) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            progress.setValue(static_cast<int>(written));
            return !progress.wasCanceled();
        });
    progress.reset();
    ResetCommonDialog(s);
    if (!done) {
        GetDialogs().ShowMessage(parent, Dialogs::Icon::Critical, kTitle,
                                 QStringLiteral("The messages could not be exported: ") +
                                     FromBoard(done.error().description));
        return false;
    }
    if (done->cancelled) return false;
    QString text = done->messages == 1 ? QStringLiteral("1 message exported.")
                                       : QStringLiteral("%1 messages exported.").arg(done->messages);
    if (done->missingAttachments == 1)
        text += QStringLiteral(" 1 attached file was not found on the board.");
    else if (done->missingAttachments > 1)
        text +=
            QStringLiteral(" %1 attached files were not found on the board.").arg(done->missingAttachments);
    GetDialogs().ShowMessage(parent, Dialogs::Icon::Information, kTitle, text);
    return true;
}

} // namespace kesto::ui
