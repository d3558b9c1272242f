// The main window's notice of arriving mail: the timer's look at the index shows it
// grew, and the new records that bring unread mail for the user are told of.
#include "mailbox/frmMain.h"

#include "mailbox/MailListModel.h"

#include "ErrorLog.h"
#include "MailBase.h"
#include "Records.h"
#include "platform/BoardPath.h"
#include "platform/File.h"

#include <QSystemTrayIcon>

namespace kesto::ui {
namespace {

constexpr const char* kModule = "frmMain";

} // namespace

void frmMain::NoticeArrivals(std::int64_t indexSize) {
    constexpr auto kRecord = static_cast<std::int64_t>(kesto::kMessageInfoSize);
    if (indexSize <= noticedSize_) {
        noticedSize_ = indexSize;
        return;
    }
    // Whole records only: one the board is still writing is read at a later tick.
    const std::int64_t first = noticedSize_ / kRecord;
    const std::int64_t last = indexSize / kRecord;
    if (last <= first) return;
    const std::string path = kesto::platform::NativePath(
        kesto::MailboxFile(s_.board, GetMailboxName(), ".DAT"), s_.board.startDir);
    const kesto::Result<kesto::Bytes> added =
        kesto::platform::ReadAt(path, first * kRecord, (last - first) * kRecord);
    if (!added) {
        kesto::LogFailure(s_.board.log, kModule, "Timer1_Timer", added.error());
        return;
    }
    const std::string_view records = *added;
    int count = 0;
    std::size_t whole = records.size() / kesto::kMessageInfoSize;
    for (std::size_t i = 0; i < whole; ++i) {
        const std::string_view rec = records.substr(i * kesto::kMessageInfoSize, kesto::kMessageInfoSize);
        if (kesto::ReadField<&kesto::MessageInfo::ToUserNo>(rec) == s_.CurrentUserNumber &&
            kesto::ReadField<&kesto::MessageInfo::Offline>(rec) == 0)
            ++count;
    }
    noticedSize_ = (first + static_cast<std::int64_t>(whole)) * kRecord;
    if (count == 0) return;

    arrivals_ += count;
    int unread = arrivals_;
    for (const kesto::MailRow& r : model_->GetAllRows()) unread += r.unread ? 1 : 0;
    const QString toolTip =
        windowTitle() + (unread == 1 ? QStringLiteral(": 1 unread message")
                                     : QStringLiteral(": %1 unread messages").arg(unread));
    const QString notice = QStringLiteral("%1 new messages \u2014 press F5 to list them").arg(count);
    emit MailArrived(toolTip.toHtmlEscaped(), notice.toHtmlEscaped());
}

void frmMain::ShowArrival(const QString& toolTip, const QString& notice) {
    if (!QSystemTrayIcon::isSystemTrayAvailable()) return;
    if (!tray_) {
        tray_ = new QSystemTrayIcon(windowIcon(), this);
        tray_->setObjectName(QStringLiteral("trayIcon"));
        connect(tray_, &QSystemTrayIcon::activated, this, &frmMain::BringToFront);
        connect(tray_, &QSystemTrayIcon::messageClicked, this, &frmMain::BringToFront);
    }
    tray_->setToolTip(toolTip);
    tray_->show();
    tray_->showMessage(QStringLiteral("Kesto"), notice, QSystemTrayIcon::Information);
}

} // namespace kesto::ui
