// Places a window's controls at fixed positions in twips, from one table per
// window. Each row gives a control's place at the window's design size; an
// anchored right or bottom edge keeps its distance to the window's edge when
// the window is resized, so the control moves (anchored on that side only) or
// grows (anchored on both sides).
#pragma once

#include <QLayout>
#include <QSize>

#include <initializer_list>
#include <vector>

namespace kesto::ui {

class TwipsLayout : public QLayout {
  public:
    enum Anchor { Left = 0x1, Top = 0x2, Right = 0x4, Bottom = 0x8, TopLeft = Left | Top, All = 0xF };

    struct Place {
        QWidget* widget;
        int left, top, width, height; // twips, at the design size
        int anchors = TopLeft;
    };

    // Which size of the window the anchors follow: its outer size with the frame,
    // or its own geometry.
    enum class Measure { Frame, Window };

    struct Design {
        QSize size;    // twips: the window size at which the table's values hold
        QSize minimum; // twips: a smaller window lays its controls out as if it had this size
        Measure measure = Measure::Frame;
    };

    // Sets itself as the layout of `container` and places the table's widgets,
    // which become the container's children.
    TwipsLayout(QWidget* container, const Design& design, std::initializer_list<Place> table);
    ~TwipsLayout() override;

    void setGeometry(const QRect& rect) override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    // Items added through the generic QLayout interface keep their own geometry.
    void addItem(QLayoutItem* item) override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    int count() const override;

  private:
    struct Row {
        QLayoutItem* item;
        Place place;
        bool placed;
    };
    Design design_;
    std::vector<Row> rows_;
};

} // namespace kesto::ui
