// The tab strip `Onglets`, drawn by hand: three names on a line, the current
// one in bold and open towards its panel, which the strip places and shows.
// It takes the keyboard in the Tab round; the left and right arrows (Home,
// End) then change the tab. A screen reader reads it as a list of three tabs,
// each holding its panel, and hears the tab that is chosen.
#pragma once

#include <QWidget>
#include <array>
#include <cstdint>

#include "core/controltable.h"

namespace molvane {

class TabStrip final : public QWidget {
    Q_OBJECT
public:
    enum Tab : std::int16_t { Parametres = 1, Affichage = 2, Suivi = 3 };

    explicit TabStrip(QWidget* parent = nullptr);

    // The panels of tabs 1 to 3, children of the strip.
    void setPanels(const std::array<QWidget*, 3>& panels);
    // 1 to 3; an unset tab (0) reads as the first.
    int current() const { return current_ == 0 ? 1 : current_; }
    void setCurrent(int tab);
    // Moves by step tabs, round the three (Ctrl+Tab, Ctrl+Shift+Tab).
    void cycle(int step);
    // The name of tab 1 to 3.
    static QString name(int tab);

    // Tab k spans b(k-1) < x <= b(k); recomputed at every repaint and switch.
    const std::array<std::int16_t, 4>& boundaries() const { return b_; }
    // Height of the names' line, "W" in the strip's font.
    int nameHeight() const { return h_; }
    // The panel of tab 1 to 3 (null before setPanels), and the tab of a panel (0 for none).
    QWidget* panel(int tab) const { return tab >= 1 && tab <= 3 ? panels_[tab - 1] : nullptr; }
    int tabOf(const QObject* panel) const;

signals:
    void currentChanged(int tab);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void measure();
    void placeCurrentPanel();
    // Tells a reader which tab is chosen, and that it has the keyboard
    // when the strip has it.
    void tellCurrentTab(int previous);
    // The strip's size in design pixels, which it is drawn in.
    int designWidth() const;
    int designHeight() const;

    std::int16_t current_ = 0;
    TabStripLayout layout_;
    std::array<std::int16_t, 4> b_{};
    double gap_ = 0;
    std::int16_t h_ = 0;
    std::array<QWidget*, 3> panels_{};
};

}  // namespace molvane
