#include "app/TwipsLayout.h"

#include "app/Twips.h"

#include <QWidget>

#include <algorithm>

namespace kesto::ui {

TwipsLayout::TwipsLayout(QWidget* container, const Design& design, std::initializer_list<Place> table)
    : QLayout(container), design_(design) {
    setContentsMargins(0, 0, 0, 0);
    rows_.reserve(table.size());
    for (const Place& p : table) {
        addChildWidget(p.widget);
        rows_.push_back({new QWidgetItem(p.widget), p, true});
    }
}

TwipsLayout::~TwipsLayout() {
    for (Row& r : rows_) delete r.item;
}

void TwipsLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    QWidget* container = parentWidget();
    if (!container) return;
    const QWidget* window = container->window();
    const double dpi = ScreenDpi(container);
    const QSize measured =
        design_.measure == Measure::Frame ? window->frameGeometry().size() : window->size();
    const int width = std::max(design_.minimum.width(), PixelsToTwips(measured.width(), dpi));
    const int height = std::max(design_.minimum.height(), PixelsToTwips(measured.height(), dpi));
    const int dx = width - design_.size.width();
    const int dy = height - design_.size.height();
    auto px = [dpi](int twips) { return TwipsToPixels(twips, dpi); };

    for (const Row& r : rows_) {
        if (!r.placed) continue;
        const Place& p = r.place;
        const bool left = p.anchors & Left, right = p.anchors & Right;
        const bool top = p.anchors & Top, bottom = p.anchors & Bottom;
        const int x = p.left + (right && !left ? dx : 0);
        const int w = p.width + (right && left ? dx : 0);
        const int y = p.top + (bottom && !top ? dy : 0);
        const int h = p.height + (bottom && top ? dy : 0);
        // The widget's own size policy has no say: the table is the design.
        r.item->widget()->setGeometry(rect.x() + px(x), rect.y() + px(y), std::max(0, px(w)),
                                      std::max(0, px(h)));
    }
}

QSize TwipsLayout::sizeHint() const {
    const double dpi = ScreenDpi(parentWidget());
    return {TwipsToPixels(design_.size.width(), dpi), TwipsToPixels(design_.size.height(), dpi)};
}

QSize TwipsLayout::minimumSize() const {
    return {0, 0};
}

void TwipsLayout::addItem(QLayoutItem* item) {
    rows_.push_back({item, Place{nullptr, 0, 0, 0, 0}, false});
}

QLayoutItem* TwipsLayout::itemAt(int index) const {
    return index >= 0 && index < count() ? rows_[static_cast<std::size_t>(index)].item : nullptr;
}

QLayoutItem* TwipsLayout::takeAt(int index) {
    if (index < 0 || index >= count()) return nullptr;
    QLayoutItem* item = rows_[static_cast<std::size_t>(index)].item;
    rows_.erase(rows_.begin() + index);
    return item;
}

int TwipsLayout::count() const {
    return static_cast<int>(rows_.size());
}

} // namespace kesto::ui
