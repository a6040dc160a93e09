#include "story_search/frm_q_story.h"

#include "support/ok_cancel_toolbar.h"
#include "support/standard_images.h"
#include "ui/fonts.h"
#include "ui/line_control.h"
#include "ui/report_list.h"
#include "ui/toolbar.h"
#include "ui/twips.h"
#include "ui/window_frame.h"

#include <QLabel>
#include <QLineEdit>

#include <limits>

namespace {

const QString kTahoma = QStringLiteral("Tahoma");
constexpr double kTextPoints = 9.75;
constexpr double kTitlePoints = 27.75;

// A label that takes the size of its caption, keeping its top-left corner.
QLabel* autoSizedLabel(QWidget* parent, const QString& caption, const QFont& font, QPoint at) {
    auto* label = new QLabel(caption, parent);
    label->setFont(font);
    label->move(at);
    label->adjustSize();
    return label;
}

} // namespace

void frmQStory::BuildLayout() {
    setObjectName(QStringLiteral("frmQStory"));
    setWindowTitle(QStringLiteral("ค้นหารหัสชื่อหนังสือ"));
    setWindowIcon(Library1::searchWindowIcon());
    platform::setFixedDialogFrame(*this);
    const platform::TwipsScale scale = platform::TwipsScale::of(this);
    setFixedSize(scale.x(8655), scale.y(6120));
    const QFont textFont = platform::layoutFont(kTahoma, kTextPoints);

    // Created in tab order: the focus starts in the search box and goes on to the list.
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setFont(textFont);
    Text1->setMaxLength(std::numeric_limits<int>::max());
    Text1->setGeometry(scale.rect(1080, 4710, 3975, 315));

    Label1 =
        autoSizedLabel(this, QStringLiteral("ชื่อหนังสือ :"), textFont, {scale.x(90), scale.y(4740)});
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    ListView1 = new platform::ReportList(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setFont(textFont);
    ListView1->setGeometry(scale.rect(60, 30, 8505, 4575));

    Library1::fillStandardImages(ImageList1);
    Toolbar1 = new platform::Toolbar(this);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setImageList(&ImageList1);
    Toolbar1->setGeometry(scale.rect(60, 5190, 2055, 825));
    const QSize buttonSize(scale.x(795), scale.y(825));
    Library1::AddOkCancelButtons(*Toolbar1, buttonSize);

    lblTitle = autoSizedLabel(this, QStringLiteral("ค้นหารหัสชื่อหนังสือ"),
                              platform::layoutFont(kTahoma, kTitlePoints, true),
                              {scale.x(3540), scale.y(5220)});
    lblTitle->setObjectName(QStringLiteral("lblTitle"));

    // The etched separator: a dark line with a white one a pixel below it.
    Line1 = new platform::LineControl(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setEnds({scale.x(30), scale.y(5100)}, {scale.x(8550), scale.y(5100)});
    Line2 = new platform::LineControl(this, Qt::white);
    Line2->setObjectName(QStringLiteral("Line2"));
    Line2->setEnds({scale.x(0), scale.y(5115)}, {scale.x(8520), scale.y(5115)});

    setTabOrder(Text1, ListView1);
}
