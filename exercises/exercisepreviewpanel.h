// What the exercise window shows of an exercise before it is opened: its
// title, the topics, the difficulty flasks, whether it is corrected and its
// hourglasses. The exercise window and the exercise editor show this same
// panel, so that an author sees the exercise as the pupils will.
#pragma once

#include <QFont>
#include <QWidget>
#include <array>

#include "exercises/exercisefile.h"

class QLabel;

namespace molvane {

// A font of the exercise window's own: the window's, at a size and weight.
QFont sized(QFont font, int points, bool bold);

// The exercise window's background.
QColor exerciseBackground();

class ExercisePreviewPanel final : public QWidget {
public:
    // The height the fields need; the panel takes the width it is given.
    static constexpr int kHeight = 332;

    explicit ExercisePreviewPanel(QWidget* parent);

    // Every field filled from the preview.
    void showPreview(const ExercisePreview& preview);
    // A file that could not be read: the headings stay, nothing is claimed.
    void showUnreadable();
    // Nothing selected: the panel shows nothing at all.
    void showNothing();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void clearFields();

    QLabel* titratexo_;
    QLabel* label1_;
    QLabel* text1_;
    QLabel* label4_;
    std::array<QLabel*, 3> image4_{};
    QLabel* imagalu_;
    QLabel* imagenoir_;
    QLabel* label2_;
    QLabel* label3_;
    QLabel* text2_;
};

}  // namespace molvane
