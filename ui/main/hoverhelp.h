// The help line `info`: moving the mouse over a control shows what it is for.
#pragma once

#include <QObject>
#include <QPoint>
#include <QString>

class QLabel;
class QWidget;

namespace molvane {

// The text for the control of that design name ("Text1" for Text1_2), with
// the pointer at `at` in the control; empty when the control has none.
QString hoverText(const QString& designName, QPoint at);
// "Label4_3" is the element 3 of the array Label4.
QString designName(const QObject& control);

inline const QString kStartHelp =
    QStringLiteral("Vous pouvez modifier les paramètres,\r\nouvrir une configuration ou un exercice");

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
