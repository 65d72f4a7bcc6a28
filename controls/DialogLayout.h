#pragma once
// Dialog templates in dialog units: rectangles turned into pixels by the
// window font (x * average character width / 4, y * line height / 8, times
// a scale), with anchors that let controls follow or fill a window larger
// than its template.
#include <QFont>
#include <QRect>
#include <QSize>
#include <vector>

class QWidget;

namespace quillory {

// Left, top, width and height in dialog units.
struct DialogRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The template of the main window was drawn for a smaller system font than
// today's desktops use; its windows enlarge their dialog units by this.
inline constexpr double kEnlargedDialogScale = 1.4;

class DialogUnits {
public:
    explicit DialogUnits(const QFont& font, double scale = 1.0);

    int x(int units) const { return static_cast<int>(units * unitX_ + 0.5); }
    int y(int units) const { return static_cast<int>(units * unitY_ + 0.5); }
    QRect rect(const DialogRect& r) const { return {x(r.x), y(r.y), x(r.width), y(r.height)}; }
    QSize size(int width, int height) const { return {x(width), y(height)}; }

private:
    double unitX_ = 1;
    double unitY_ = 1;
};

class DialogLayout {
public:
    // How a control moves when the window is larger than its template.
    enum Anchor : unsigned {
        kFixed = 0,
        kFollowRight = 1,  // keeps its distance to the right edge
        kFollowBottom = 2, // keeps its distance to the bottom edge
        kGrowWidth = 4,    // takes the extra width
        kGrowHeight = 8,   // takes the extra height
        kFitHeight = 16,   // never lower than its style or text needs (lists, labels)
        kFitWidth = 32,    // never narrower than its text; grows away from its anchored edge
    };

    // size: the template's size in dialog units.
    explicit DialogLayout(QSize size, double scale = 1.0) : size_(size), scale_(scale) {}

    void Add(QWidget* widget, DialogRect rect, unsigned anchors = kFixed);

    // The template's size in pixels for a font.
    QSize pixelSize(const QFont& font) const;
    // Places every control for a window of the given size laid out in font.
    void Apply(const QFont& font, QSize windowSize) const;

private:
    struct Entry {
        QWidget* widget;
        DialogRect rect;
        unsigned anchors;
    };
    QRect place(const Entry& entry, const DialogUnits& units, QSize extra) const;

    QSize size_;
    double scale_;
    std::vector<Entry> entries_;
};

} // namespace quillory
