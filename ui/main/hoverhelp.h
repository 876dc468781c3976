// The help line `info`: moving the mouse over a control shows what it is for,
// as the control table says.
#pragma once

#include <QObject>
#include <QPoint>
#include <QString>

class QLabel;
class QWidget;

namespace molvane {

class HoverHelp final : public QObject {
    Q_OBJECT
public:
    explicit HoverHelp(QLabel* info);

    // Watches window and every control under it that has a text.
    void watch(QWidget* window);
    // While info shows this, the copy button leaves it.
    void setCopyConfirmation(const QString& text) { copyConfirmation_ = text; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void show(QWidget* control, QPoint at);

    QLabel* info_;
    QString copyConfirmation_;
};

}  // namespace molvane
