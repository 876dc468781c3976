#include "output/magnifier.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <cmath>

#include "core/controltable.h"
#include "windowkit/designscale.h"
#include "windowkit/surfaces.h"
#include "windowkit/ticklog.h"

namespace molvane {

namespace {

// Room for the title bar under the doubled vessel.
constexpr int kTitleRoom = 25;

}  // namespace

QRect magnifierGeometry(const QRect& mainFrame, const QMargins& frame, QSize vessel) {
    const int outerHeight = vessel.height() * 2 + kTitleRoom;
    return QRect(mainFrame.left() + frame.left(), mainFrame.top() + frame.top(),
                 std::max(1, mainFrame.width() - frame.left() - frame.right()),
                 std::max(1, outerHeight - frame.top() - frame.bottom()));
}

int magnifierOrigin(int innerWidth) {
    return static_cast<int>(std::floor((innerWidth - kMagnifiedWidth) / 2.0));
}

QImage magnifierBackground(QSize vessel, bool white) {
    const int w2 = vessel.width() * 2, h2 = vessel.height() * 2;
    QImage image(w2 + 1, h2 + 1, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    // The vessel's own shading drawn at twice its size is the same set of
    // outlines, from light brown at the border to white at the centre; its
    // outermost right and bottom edges fall under the white frame below.
    if (!white) painter.drawImage(0, 0, vesselShading(QSize(w2, h2)));
    painter.setPen(Qt::white);
    painter.drawRect(QRect(0, 0, w2, h2));
    painter.setPen(Qt::black);
    painter.drawRect(QRect(0, 0, w2 - 1, h2 - 1));
    return image;
}

// The picture the run draws into: every clear starts a new frame, which the
// window then repaints.
class Louloupe::Surface final : public AnimationSurface {
public:
    Surface(QWidget* view, QSize size) : view_(view), image_(size) {}

    void clear() override {
        image_.clear();
        view_->update();
    }
    void circle(float x, float y, float radius, Colour fill) override { image_.circle(x, y, radius, fill); }

    ImageAnimationSurface& image() { return image_; }

private:
    QWidget* view_;
    ImageAnimationSurface image_;
};

Louloupe::Louloupe(QWidget* mainWindow, MagnifierLink link)
    : QDialog(mainWindow), mainWindow_(mainWindow), link_(std::move(link)) {
    setObjectName(QStringLiteral("louloupe"));
    setModal(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(
        QString::fromUtf8(kMagnifierName.data(), static_cast<qsizetype>(kMagnifierName.size())));
    setAccessibleDescription(QString::fromUtf8(kMagnifierDescription.data(),
                                               static_cast<qsizetype>(kMagnifierDescription.size())));
    // The window is its own picture: the keyboard rests on it, so that a
    // screen reader says what is shown.
    setFocusPolicy(Qt::StrongFocus);
    const QImage background = magnifierBackground(link_.vessel, false);
    surface_ = std::make_unique<Surface>(this, background.size());
    if (mainWindow_) {
        setWindowIcon(mainWindow_->windowIcon());
        setWindowTitle(mainWindow_->windowTitle() +
                       QString::fromUtf8(kMagnifierTitleSuffix.data(),
                                         static_cast<qsizetype>(kMagnifierTitleSuffix.size())));
    }
    placeOverMainWindow();
}

Louloupe::~Louloupe() {
    if (link_.attach) link_.attach(nullptr);
}

const QImage& Louloupe::picture() const {
    return surface_->image().image();
}

void Louloupe::placeOverMainWindow() {
    if (!mainWindow_) return;
    const auto marginsOf = [](const QWidget& w) {
        const QRect frame = w.frameGeometry(), inner = w.geometry();
        return QMargins(inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
                        frame.bottom() - inner.bottom());
    };
    // Until it is shown this window has no frame yet: the main window's,
    // decorated alike, stands for it.
    const QMargins margins = isVisible() ? marginsOf(*this) : marginsOf(*mainWindow_);
    setGeometry(magnifierGeometry(mainWindow_->frameGeometry(), margins,
                                  scaledSize(link_.vessel, designScale(mainWindow_))));
}

void Louloupe::activate() {
    placeOverMainWindow();
    const bool white = link_.whiteBackground && link_.whiteBackground();
    ImageAnimationSurface& image = surface_->image();
    image.setBackground(magnifierBackground(link_.vessel, white));
    image.clear();
    update();
}

bool Louloupe::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && !activated_) {
        activated_ = true;
        activate();
    } else if (event->type() == QEvent::WindowDeactivate) {
        activated_ = false;
    }
    return QDialog::event(event);
}

void Louloupe::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (link_.attach) link_.attach(surface_.get());
    // Showing is the first activation, even where no window manager says so.
    if (!activated_) {
        activated_ = true;
        activate();
        activateWindow();
    }
    setFocus(Qt::ActiveWindowFocusReason);
}

void Louloupe::hideEvent(QHideEvent* event) {
    if (link_.attach) link_.attach(nullptr);
    activated_ = false;
    QDialog::hideEvent(event);
}

int Louloupe::origin() const {
    return magnifierOrigin(scaledLength(width(), 1.0 / designScale(mainWindow_)));
}

void Louloupe::paintEvent(QPaintEvent*) {
    TickScope scope(link_.tickLog);
    ImageAnimationSurface& image = surface_->image();
    // Drawn in design pixels at the main window's size of the display.
    const double scale = designScale(mainWindow_);
    if (const qreal ratio = devicePixelRatioF() * scale; image.ratio() != ratio) image.setRatio(ratio);
    QPainter painter(this);
    painter.scale(scale, scale);
    const int x = origin();
    const QImage& shown = picture();
    // Beside and below the drawing, the window's own colour.
    const QRegion outside = QRegion(QRect(QPoint(0, 0), scaledSize(size(), 1.0 / scale) + QSize(1, 1))) -
                            QRect(QPoint(x, 0), image.size());
    for (const QRect& part : outside) painter.fillRect(part, palette().window());
    painter.drawImage(QPoint(x, 0), shown);
}

void Louloupe::mousePressEvent(QMouseEvent* event) {
    event->accept();
    reject();
}

MagnifierLauncher::MagnifierLauncher(QWidget* mainWindow, QWidget* vessel, MagnifierLink link)
    : QObject(mainWindow), mainWindow_(mainWindow), link_(std::move(link)) {
    if (vessel) vessel->installEventFilter(this);
}

void MagnifierLauncher::open() {
    if (open_) return;
    open_ = true;
    Louloupe loupe(mainWindow_, link_);
    loupe.exec();
    open_ = false;
}

bool MagnifierLauncher::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* release = static_cast<QMouseEvent*>(event);
        const auto* vessel = static_cast<QWidget*>(watched);
        // A click is a press and a release over the vessel; the window opens
        // after the vessel has taken its release, and a double click opens one.
        if (release->button() == Qt::LeftButton && vessel->rect().contains(release->position().toPoint()) &&
            !open_ && !queued_) {
            queued_ = true;
            QTimer::singleShot(0, this, [this] {
                queued_ = false;
                open();
            });
        }
    }
    return false;
}

}  // namespace molvane
