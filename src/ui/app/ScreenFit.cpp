#include "app/ScreenFit.h"

#include <QDialog>
#include <QEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

namespace kesto::ui {
namespace {

class ScreenFitter : public QObject {
  public:
    explicit ScreenFitter(QDialog* dialog) : QObject(dialog), dialog_(dialog) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == dialog_ && event->type() == QEvent::Show) Fit();
        return false;
    }

  private:
    void Fit() {
        QScreen* screen = dialog_->screen() ? dialog_->screen() : QGuiApplication::primaryScreen();
        if (!screen) return;
        const QRect available = screen->availableGeometry();
        // The frame is known once the window exists; before that it counts as none.
        const QSize frame = dialog_->frameGeometry().size() - dialog_->size();
        const QSize room = available.size() - frame;
        QLayout* layout = dialog_->layout();
        if (layout && !scrolls_) {
            const QSize needed = layout->totalMinimumSize();
            if (needed.height() > room.height() || needed.width() > room.width()) Scroll(layout);
        }
        const QSize size = dialog_->size().boundedTo(room);
        if (size != dialog_->size()) dialog_->resize(size);
        const QRect placed = OntoScreen(QRect(dialog_->pos(), size + frame), available);
        if (placed.topLeft() != dialog_->pos()) dialog_->move(placed.topLeft());
    }

    // The dialog's own layout, with every widget in it, goes into a scroll area that
    // becomes the dialog's only content.
    void Scroll(QLayout* layout) {
        auto* content = new QWidget;
        content->setObjectName(QStringLiteral("scrollContent"));
        content->setLayout(layout);
        auto* area = new QScrollArea(dialog_);
        area->setObjectName(QStringLiteral("scrollArea"));
        area->setFrameShape(QFrame::NoFrame);
        area->setWidgetResizable(true);
        area->setWidget(content);
        auto* outer = new QVBoxLayout(dialog_);
        outer->setContentsMargins(0, 0, 0, 0);
        outer->addWidget(area);
        // At once, so the window's smallest size is the scroll area's before it is resized.
        outer->activate();
        scrolls_ = true;
    }

    QDialog* dialog_;
    bool scrolls_ = false;
};

} // namespace

QRect OntoScreen(const QRect& frame, const QRect& available) {
    const QRect seen = frame.intersected(available);
    const qint64 area = qint64(frame.width()) * frame.height();
    if (2 * qint64(seen.width()) * seen.height() >= area) return frame;
    const QSize size = frame.size().boundedTo(available.size());
    const int x =
        std::clamp(frame.x(), available.left(), available.left() + available.width() - size.width());
    const int y =
        std::clamp(frame.y(), available.top(), available.top() + available.height() - size.height());
    return {QPoint(x, y), size};
}

void KeepOnScreen(QDialog* dialog) {
    dialog->installEventFilter(new ScreenFitter(dialog));
}

} // namespace kesto::ui
