// The window's two picture boxes: each paints its backing image, drawn by the
// simulation through the surface it owns.
#pragma once

#include <QWidget>
#include <cstdint>

#include "windowkit/surfaces.h"
#include "windowkit/ticklog.h"

namespace molvane {

// The vessel `animpic`; a dotted frame inside it shows when it has the keyboard.
class AnimationView final : public QWidget {
    Q_OBJECT
public:
    AnimationView(QSize size, QWidget* parent = nullptr);

    ImageAnimationSurface& surface() { return surface_; }
    void setTickLog(TickLog* log) { log_ = log; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    ImageAnimationSurface surface_;
    TickLog* log_ = nullptr;
};

// The graph `Picture2`; it takes the keyboard so that a reader reads it,
// framed like the vessel while it has it.
class GraphView final : public QWidget {
    Q_OBJECT
public:
    GraphView(QSize size, const QFont& font, QWidget* parent = nullptr);

    ImageGraphSurface& surface() { return surface_; }
    void setTickLog(TickLog* log) { log_ = log; }
    // Repaints when something was drawn since the last paint.
    void refresh();

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    ImageGraphSurface surface_;
    std::uint64_t shown_ = 0;
    TickLog* log_ = nullptr;
};

}  // namespace molvane
