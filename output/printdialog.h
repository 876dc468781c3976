// The print dialog `confimp` ("Imprimer"): which views, the page title, the
// number of copies and the printer; OK prints them and closes.
#pragma once

#include <QDialog>
#include <QImage>
#include <array>
#include <functional>
#include <memory>

#include "output/tablepicture.h"

class QCheckBox;
class QFrame;
class QGroupBox;
class QLineEdit;
class QPrinter;
class QPushButton;
class QSpinBox;

namespace molvane {

// What printing reads of the main window, at the moment it prints.
struct PrintSources {
    std::function<QImage()> animation;
    std::function<QImage()> graph;
    std::function<TablePicture()> tablePicture;
};

class Confimp final : public QDialog {
    Q_OBJECT
public:
    Confimp(QPrinter& printer, PrintSources sources, QWidget* mainWindow);

    // Names the printer in `defaut`.
    void Form_Load();
    void Command1_Click();  // "&OK": prints, then closes
    void Command2_Click();  // "&Imprimantes": Qt's printer dialog

protected:
    bool event(QEvent* event) override;

private:
    void showNotice(bool printing);
    bool print();

    QPrinter& printer_;
    PrintSources sources_;
    QGroupBox* frame1_;
    std::array<QCheckBox*, 3> check1_{};
    QLineEdit* text1_;
    QSpinBox* upDown1_;
    QLineEdit* defaut_;
    QPushButton* command1_;
    QPushButton* command2_;
    QPushButton* command3_;
    QFrame* frame2_;
    // After the printer failed, OK writes a PDF file instead.
    bool pdfInstead_ = false;
};

// Command10 "&Imprimer": keeps the printer chosen from one print to the next.
class Printing {
public:
    explicit Printing(PrintSources sources);
    ~Printing();

    QPrinter& printer();
    void Command10_Click(QWidget* mainWindow);

private:
    PrintSources sources_;
    std::unique_ptr<QPrinter> printer_;
};

}  // namespace molvane
