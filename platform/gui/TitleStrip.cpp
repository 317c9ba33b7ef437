#include "platform/gui/TitleStrip.h"

#include "platform/gui/ChromeArt.h"
#include "platform/gui/ChromePicture.h"
#include "platform/gui/WindowDragger.h"
#include "platform/MessageService.h"
#include "platform/gui/PlainText.h"

#include <QLabel>
#include <QPainter>

TitleImage::TitleImage(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
}

void TitleImage::paintEvent(QPaintEvent *)
{
    static const QPixmap image = chromeart::titleImage();
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), image);
}

bool confirmExit(const QWidget *window)
{
    return platform::askYesNo(QStringLiteral("EXIT ?"), window);
}

ChromePicture *createMinPicture(QWidget *parent)
{
    return new ChromePicture(chromeart::minPicture(), chromeart::minPressed(), parent);
}

ChromePicture *createClosePicture(QWidget *parent)
{
    return new ChromePicture(chromeart::closePicture(), chromeart::closePressed(), parent);
}

QLabel *createCaptionLabel(const QString &text, QWidget *parent)
{
    // The caption is a thread title: plain text, never markup.
    auto *label = platform::plainTextLabel(new QLabel(text, parent));
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setStyleSheet(QStringLiteral("QLabel { color: #e6ecf2; background: transparent; "
                                        "font-weight: 600; }"));
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

TitleStrip::TitleStrip(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
    Image1 = new TitleImage(this);
    lblCaption = createCaptionLabel(QStringLiteral("Kestrelon"), this);
    picMin = createMinPicture(this);
    picClose = createClosePicture(this);

    m_dragger = new WindowDragger(this);
    m_dragger->addHandle(Image1);
    m_dragger->addHandle(lblCaption);

    connect(picMin, &ChromePicture::activated, this, &TitleStrip::picMinActivated);
    connect(picClose, &ChromePicture::activated, this, &TitleStrip::picCloseActivated);
}

void TitleStrip::applyLayout(const TwipsRect &strip, const TwipsRect &image,
                             const TitlePictures &pictures)
{
    setGeometry(twipsToPixelRect(strip, this));
    Image1->setGeometry(twipsToPixelRect(image, this));
    lblCaption->setGeometry(twipsToPixelRect(pictures.caption, this));
    picMin->setGeometry(twipsToPixelRect(pictures.picMin, this));
    picClose->setGeometry(twipsToPixelRect(pictures.picClose, this));
}

void TitleStrip::picMinActivated()
{
    emit minimiseClicked();
    window()->showMinimized();
}

void TitleStrip::picCloseActivated()
{
    if (!confirmExit(this))
        return;
    emit exitConfirmed();
    window()->close();
}

QRect twipsToPixelRect(const TwipsRect &rect, const QWidget *widget)
{
    const double dpiX = widget->logicalDpiX();
    const double dpiY = widget->logicalDpiY();
    // Edges are converted, not sizes, so neighbouring regions never open a one-pixel gap.
    const int left = twipsToPixels(rect.left, dpiX);
    const int top = twipsToPixels(rect.top, dpiY);
    return QRect(left, top, twipsToPixels(rect.right(), dpiX) - left,
                 twipsToPixels(rect.bottom(), dpiY) - top);
}

void TitleStrip::setCaption(const QString &text)
{
    lblCaption->setText(text);
    lblCaption->setToolTip(platform::plainToolTip(text));
}
