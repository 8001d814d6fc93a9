#include "ui/appearance/LogoWindow.h"

#include "platform/OneShotTimer.h"
#include "ui/appearance/SplashPicture.h"
#include "ui/common/ClickableLabel.h"

#include <QDir>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

// The designed pictures are compiled into the ui library; a static library needs its
// resources registered by hand.
static void registerAppearanceResources() { Q_INIT_RESOURCE(appearance); }

namespace cubwave {

namespace {

// On the 640 x 480 design surface.
constexpr QSize kDesignSize(420, 270);
constexpr QRect kPictureRect(0, 0, 420, 270);
constexpr QRect kBadgeRect(290, 12, 120, 60);

QPixmap drawnPicture(const QString& resource, QSize size, qreal pixelRatio)
{
    QPixmap pixmap(size * pixelRatio);
    pixmap.setDevicePixelRatio(pixelRatio);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(resource);
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return pixmap;
}

}  // namespace

LogoWindow::LogoWindow(const QString& sharedFolder, OneShotTimer& closeTimer, OneShotTimer& badgeTimer, QWidget* parent)
    // A dialog, not a splash-screen window: closing one of those does not end its modal loop.
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      closeTimer_(closeTimer),
      badgeTimer_(badgeTimer),
      layout_(kDesignSize)
{
    registerAppearanceResources();
    setObjectName(QStringLiteral("frmBrantelLogo"));
    // Named for the desktop's window list; the window itself has no title bar.
    setWindowTitle(QStringLiteral("Cubwave Log 1.8"));

    picture_ = new ClickableLabel(this);
    picture_->setObjectName(QStringLiteral("Image1"));
    picture_->setAlignment(Qt::AlignCenter);
    layout_.place(picture_, kPictureRect, 8);
    connect(picture_, &ClickableLabel::clicked, this, &QDialog::accept);

    badge_ = new QLabel(this);
    badge_->setObjectName(QStringLiteral("Image2"));
    badge_->hide();
    layout_.place(badge_, kBadgeRect, 8);

    layout_.scaleDialogToScreen(this);
    const QString path = QDir(sharedFolder).filePath(QString::fromLatin1(SplashPicture::kFileName));
    if (std::optional<QImage> splash = SplashPicture::read(path, picture_->size() * devicePixelRatio())) {
        splash_ = std::move(*splash);
        splash_.setDevicePixelRatio(devicePixelRatio());
    }
    paintPictures();
}

LogoWindow::~LogoWindow()
{
    closeTimer_.stop();
    badgeTimer_.stop();
}

void LogoWindow::done(int result)
{
    closeTimer_.stop();
    badgeTimer_.stop();
    QDialog::done(result);
}

void LogoWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!started_) {
        started_ = true;
        startTimers();
    }
}

void LogoWindow::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    layout_.apply(size());
    paintPictures();
}

void LogoWindow::startTimers()
{
    if (showsSplash()) {
        badgeTimer_.stop();
        closeTimer_.start(kCloseWithSplashMs, [this] { accept(); });
        return;
    }
    badgeTimer_.start(kShowBadgeMs, [this] { badge_->show(); });
    closeTimer_.start(kCloseMs, [this] { accept(); });
}

void LogoWindow::paintPictures()
{
    const qreal ratio = devicePixelRatio();
    if (showsSplash())
        picture_->setPixmap(QPixmap::fromImage(splash_));
    else
        picture_->setPixmap(drawnPicture(QStringLiteral(":/appearance/logo.svg"), picture_->size(), ratio));
    badge_->setPixmap(drawnPicture(QStringLiteral(":/appearance/badge.svg"), badge_->size(), ratio));
}

}  // namespace cubwave
