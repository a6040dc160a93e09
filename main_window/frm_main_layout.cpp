// Controls, places and sizes of the main window, in twips as the layout gives them.

#include "main_window/frm_main.h"
#include "main_window/main_window_texts.h"

#include "support/ok_cancel_toolbar.h"
#include "support/standard_images.h"
#include "ui/fitted_text_label.h"
#include "ui/fonts.h"
#include "ui/group_frame.h"
#include "ui/image_list.h"
#include "ui/line_control.h"
#include "ui/toolbar.h"
#include "ui/twips.h"
#include "ui/whole_characters.h"
#include "ui/window_frame.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int kClientWidth = 8730;
constexpr int kClientHeight = 4950;
constexpr int kCodeLength = 15;

QFont tahoma() {
    return platform::layoutFont(QStringLiteral("Tahoma"), 9.75);
}

QLabel* caption(QWidget* parent, const platform::TwipsScale& s, const char* name, const char* text,
                QRect twips, Qt::Alignment alignment) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setObjectName(QLatin1String(name));
    label->setFont(tahoma());
    label->setAlignment(alignment | Qt::AlignVCenter);
    label->setGeometry(s.rect(twips.x(), twips.y(), twips.width(), twips.height()));
    label->adjustSize(); // captions size themselves to their text, keeping left and top
    label->move(s.x(twips.x()), s.y(twips.y()));
    return label;
}

// A framed display of fixed size. Where the whole text matters (a count), a text wider than
// the display is drawn smaller; a long name is cut at its end instead, where it stays legible.
enum class Overflow { Cut, Shrink };

QLabel* display(QWidget* parent, const platform::TwipsScale& s, const QString& name, QRect twips,
                Qt::Alignment alignment, Overflow overflow) {
    auto* label =
        overflow == Overflow::Shrink ? new platform::FittedTextLabel(parent) : new QLabel(parent);
    label->setObjectName(name);
    label->setFont(tahoma());
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setLineWidth(1);
    label->setAlignment(alignment | Qt::AlignVCenter);
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(s.rect(twips.x(), twips.y(), twips.width(), twips.height()));
    return label;
}

void colourText(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

} // namespace

void frmMain::BuildLayout() {
    const platform::TwipsScale s = platform::TwipsScale::of(this);
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QString::fromUtf8(MainWindowTexts::kTitle));
    setWindowIcon(Library1::mainWindowIcon());
    platform::setFixedDialogFrame(*this);
    // A tool window does not end the program when it closes; this one is the program.
    setAttribute(Qt::WA_QuitOnClose);
    setFixedSize(s.x(kClientWidth), s.y(kClientHeight));

    ImageList1 = std::make_unique<platform::ImageList>(QSize(32, 32));
    Library1::fillStandardImages(*ImageList1);

    BuildSide(side1(), 1, 150, 0);
    BuildSide(side2(), 2, 2040, 30);

    chkDel1 = new QCheckBox(QString::fromUtf8(MainWindowTexts::kDeleteOld), Frame1);
    chkDel1->setObjectName(QStringLiteral("chkDel1"));
    chkDel1->setFont(tahoma());
    colourText(chkDel1, QColor(255, 0, 0));
    chkDel1->setFocusPolicy(Qt::ClickFocus);
    chkDel1->setGeometry(s.rect(1560, 1320, 4755, 255));

    BuildBottomStrip();

    setTabOrder(txtStrID1, txtStrID2);
}

// Both sides share one plan; the new side's rows sit 30 twips lower in their group.
void frmMain::BuildSide(Side side, int number, int frameTop, int rowOffset) {
    const platform::TwipsScale s = platform::TwipsScale::of(this);
    const QString n = QString::number(number);
    side.Frame = new platform::GroupFrame(
        QString::fromUtf8(number == 1 ? MainWindowTexts::kOldFrame : MainWindowTexts::kNewFrame),
        this);
    side.Frame->setObjectName(QStringLiteral("Frame") + n);
    side.Frame->setFont(tahoma());
    side.Frame->setFlat(false);
    side.Frame->setGeometry(s.rect(240, frameTop, 8265, 1755));
    colourText(side.Frame, number == 1 ? QColor(255, 0, 0) : QColor(0, 0, 255));

    const int codeLabelIndex = number == 1 ? 1 : 3;
    const int countLabelIndex = number == 1 ? 0 : 2;
    QLabel* codeCaption = caption(side.Frame, s, "Label1", MainWindowTexts::kCodeLabel,
                                  QRect(450, 450 + rowOffset, 1035, 240), Qt::AlignRight);
    codeCaption->setProperty("Index", codeLabelIndex);
    QLabel* countCaption = caption(side.Frame, s, "Label1", MainWindowTexts::kCountLabel,
                                   QRect(240, 870 + rowOffset, 1230, 240), Qt::AlignRight);
    countCaption->setProperty("Index", countLabelIndex);
    caption(side.Frame, s, number == 1 ? "Label3" : "Label6", MainWindowTexts::kCopies,
            QRect(2280, 870 + rowOffset, 300, 240), Qt::AlignLeft);

    side.txtStrID = new QLineEdit(side.Frame);
    side.txtStrID->setObjectName(QStringLiteral("txtStrID") + n);
    side.txtStrID->setFont(platform::layoutFont(QStringLiteral("MS Sans Serif"), 9.75));
    side.txtStrID->setMaxLength(kCodeLength);
    platform::keepWholeCharacters(*side.txtStrID);
    side.txtStrID->setGeometry(s.rect(1560, 450 + rowOffset, 1065, 315));

    side.cmdFind = new QPushButton(QString::fromUtf8(MainWindowTexts::kFindCaption), side.Frame);
    side.cmdFind->setObjectName(QStringLiteral("cmdFind") + n);
    side.cmdFind->setFont(QApplication::font());
    side.cmdFind->setFocusPolicy(Qt::ClickFocus);
    side.cmdFind->setAutoDefault(false);
    side.cmdFind->setGeometry(s.rect(2670, 450 + rowOffset, 315, 315));

    side.lblStrName =
        display(side.Frame, s, QStringLiteral("lblStrName") + n,
                QRect(3060, 450 + rowOffset, 4755, 315), Qt::AlignLeft, Overflow::Cut);
    side.lblCnt =
        display(side.Frame, s, QStringLiteral("lblCnt") + n, QRect(1560, 840 + rowOffset, 675, 315),
                Qt::AlignHCenter, Overflow::Shrink);

    // The caption alone takes the group's colour; the controls inside keep the window's.
    for (QWidget* child : side.Frame->findChildren<QWidget*>()) {
        colourText(child, palette().color(QPalette::WindowText));
    }
}

void frmMain::BuildBottomStrip() {
    const platform::TwipsScale s = platform::TwipsScale::of(this);
    // The etched separator: a dark line with a white one a pixel below it.
    auto* line1 = new platform::LineControl(this);
    line1->setObjectName(QStringLiteral("Line1"));
    line1->setEnds({s.x(90), s.y(3960)}, {s.x(8610), s.y(3960)});
    auto* line2 = new platform::LineControl(this, Qt::white);
    line2->setObjectName(QStringLiteral("Line2"));
    line2->setEnds({s.x(60), s.y(3975)}, {s.x(8580), s.y(3975)});

    Toolbar1 = new platform::Toolbar(this);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setImageList(ImageList1.get());
    Toolbar1->setGeometry(s.rect(60, 4050, 2055, 825));
    Library1::AddOkCancelButtons(*Toolbar1, QSize(s.x(795), s.y(825)));

    lblTitle = new QLabel(QString::fromUtf8(MainWindowTexts::kHeading), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setFont(platform::layoutFont(QStringLiteral("Tahoma"), 27.75, true));
    lblTitle->move(s.x(3390), s.y(4080));
    lblTitle->adjustSize();
}
