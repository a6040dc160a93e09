#include "tests/story_search/search_dialog_harness.h"

#include "support/standard_images.h"
#include "ui/fonts.h"
#include "ui/image_list.h"
#include "ui/line_control.h"
#include "ui/report_list.h"
#include "ui/toolbar.h"
#include "ui/twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

namespace {

constexpr int kSizedByCaption = -1;
constexpr int kOnePixel = 0;

QImage imageOf(const QIcon& icon) {
    return icon.pixmap(QSize(32, 32)).toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class FrmQStoryLayoutTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { platform::installFontSubstitutes(); }

    void controlsStandWhereLaidOut_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QRect>("twips");   // left, top, width, height
        QTest::addColumn<double>("points"); // 0: no font of its own
        QTest::addColumn<bool>("bold");
        const int autoSize = kSizedByCaption;
        QTest::newRow("Text1") << "QLineEdit"
                               << "" << QRect(1080, 4710, 3975, 315) << 9.75 << false;
        QTest::newRow("Label1") << "QLabel"
                                << "ชื่อหนังสือ :" << QRect(90, 4740, autoSize, autoSize) << 9.75
                                << false;
        QTest::newRow("ListView1") << "platform::ReportList"
                                   << "" << QRect(60, 30, 8505, 4575) << 9.75 << false;
        QTest::newRow("Toolbar1") << "platform::Toolbar"
                                  << "" << QRect(60, 5190, 2055, 825) << 0.0 << false;
        QTest::newRow("lblTitle") << "QLabel"
                                  << "ค้นหารหัสชื่อหนังสือ" << QRect(3540, 5220, autoSize, autoSize)
                                  << 27.75 << true;
        QTest::newRow("Line1") << "platform::LineControl"
                               << "" << QRect(30, 5100, 8520, kOnePixel) << 0.0 << false;
        QTest::newRow("Line2") << "platform::LineControl"
                               << "" << QRect(0, 5115, 8520, kOnePixel) << 0.0 << false;
    }

    void controlsStandWhereLaidOut() {
        QFETCH(QString, kind);
        QFETCH(QString, text);
        QFETCH(QRect, twips);
        QFETCH(double, points);
        QFETCH(bool, bold);
        SearchDialogHarness harness;
        auto* control = harness.form->findChild<QWidget*>(QTest::currentDataTag());
        QVERIFY(control != nullptr);
        QVERIFY(control->inherits(kind.toLatin1().constData()));
        if (auto* label = qobject_cast<QLabel*>(control)) {
            QCOMPARE(label->text(), text);
        } else if (auto* box = qobject_cast<QLineEdit*>(control)) {
            QCOMPARE(box->text(), text);
        }
        const platform::TwipsScale scale = platform::TwipsScale::of(harness.form.get());
        QCOMPARE(control->pos(), QPoint(scale.x(twips.left()), scale.y(twips.top())));
        if (twips.width() == kSizedByCaption) {
            QCOMPARE(control->size(), control->sizeHint());
        } else {
            const int height = twips.height() == kOnePixel ? 1 : scale.y(twips.height());
            QCOMPARE(control->size(), QSize(scale.x(twips.width()), height));
        }
        if (points == 0.0) {
            QVERIFY(!control->testAttribute(Qt::WA_SetFont));
        } else {
            const QFont font = control->font();
            QCOMPARE(font.family(), QStringLiteral("Tahoma"));
            QCOMPARE(font.pointSizeF(), points);
            QCOMPARE(font.bold(), bold);
            QVERIFY(!font.italic() && !font.underline() && !font.strikeOut());
        }
        QVERIFY(!control->testAttribute(Qt::WA_SetPalette));
    }

    void windowAndToolbarAreAsLaidOut() {
        SearchDialogHarness harness;
        frmQStory& form = *harness.form;
        const platform::TwipsScale scale = platform::TwipsScale::of(&form);
        QCOMPARE(form.objectName(), QStringLiteral("frmQStory"));
        QCOMPARE(form.windowTitle(), QStringLiteral("ค้นหารหัสชื่อหนังสือ"));
        QCOMPARE(form.minimumSize(), QSize(scale.x(8655), scale.y(6120)));
        QCOMPARE(form.maximumSize(), form.minimumSize());
        QCOMPARE(form.windowType(), Qt::Tool); // the hint for no task-bar button
        QVERIFY(form.windowFlags().testFlag(Qt::WindowTitleHint));
        QVERIFY(form.windowFlags().testFlag(Qt::WindowSystemMenuHint));
        QVERIFY(form.windowFlags().testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!form.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!form.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QCOMPARE(imageOf(form.windowIcon()), imageOf(Library1::searchWindowIcon()));

        struct Button {
            const char* key;
            QString caption;
            QString toolTip;
            int image;
        };
        platform::ImageList images;
        Library1::fillStandardImages(images);
        const Button expected[] = {{"OK", "  ตกลง  ", "[F2] - บันทึกข้อมูล", 6},
                                   {"Cancel", " ยกเลิก ", "[ESC] - ยกเลิก", 7}};
        QCOMPARE(harness.toolbar()->buttonCount(), 2);
        for (int index = 1; index <= 2; ++index) {
            const Button& want = expected[index - 1];
            const platform::ToolbarButton* button = harness.toolbar()->button(index);
            QCOMPARE(button->Key, QString::fromLatin1(want.key));
            QCOMPARE(button->widget->text(), want.caption);
            QCOMPARE(button->widget->toolTip(), want.toolTip);
            QCOMPARE(button->Image, want.image);
            QCOMPARE(imageOf(button->widget->icon()), imageOf(QIcon(images.image(want.image))));
            QCOMPARE(button->widget->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
            QCOMPARE(button->widget->size(), QSize(scale.x(795), scale.y(825)));
        }
    }

    void separatorLinesAreEtched() {
        SearchDialogHarness harness;
        QVERIFY(harness.showActive());
        const auto* dark = harness.form->findChild<platform::LineControl*>(QStringLiteral("Line1"));
        const auto* light =
            harness.form->findChild<platform::LineControl*>(QStringLiteral("Line2"));
        QCOMPARE(light->y(), dark->y() + 1);
        const QImage picture = harness.form->grab().toImage();
        QCOMPARE(picture.pixelColor(dark->x() + 10, dark->y()),
                 harness.form->palette().color(QPalette::WindowText));
        QCOMPARE(picture.pixelColor(light->x() + 10, light->y()), QColor(Qt::white));
    }

    void listStartsEmptyWithItsTwoColumns() {
        SearchDialogHarness harness;
        platform::ReportList* list = harness.list();
        const platform::TwipsScale scale = platform::TwipsScale::of(harness.form.get());
        QCOMPARE(list->itemCount(), 0);
        QCOMPARE(list->columnHeaderCount(), 2);
        QCOMPARE(list->model()->headerData(0, Qt::Horizontal).toString(), "รหัสชื่อหนังสือ");
        QCOMPARE(list->model()->headerData(1, Qt::Horizontal).toString(), "ชื่อหนังสือ");
        QCOMPARE(list->columnWidth(0), scale.x(1500));
        QCOMPARE(list->columnWidth(1), scale.x(6000));
        QCOMPARE(list->selectionMode(), QAbstractItemView::SingleSelection);
        QCOMPARE(list->editTriggers(), QAbstractItemView::NoEditTriggers);
        QVERIFY(!list->isSortingEnabled());
    }

    void focusStartsInSearchBoxAndMovesToTheList() {
        SearchDialogHarness harness;
        QVERIFY(harness.showActive());
        QLineEdit* box = harness.searchBox();
        platform::ReportList* list = harness.list();
        QTRY_VERIFY(box->hasFocus());
        QTest::keyClick(box, Qt::Key_Tab);
        QTRY_VERIFY(list->hasFocus());
        QTest::keyClick(list, Qt::Key_Tab);
        QTRY_VERIFY(box->hasFocus());
        QTest::keyClick(box, Qt::Key_Down);
        QTRY_VERIFY(list->hasFocus());
        QTest::keyClick(list, Qt::Key_Backtab, Qt::ShiftModifier);
        QTRY_VERIFY(box->hasFocus());
        // The toolbar takes no focus, so the stop before the search box is the list.
        QTest::keyClick(box, Qt::Key_Up);
        QTRY_VERIFY(list->hasFocus());
    }

    void searchBoxTakesAnyLengthAndSelectsItsTextOnFocus() {
        SearchDialogHarness harness;
        QVERIFY(harness.showActive());
        QLineEdit* box = harness.searchBox();
        box->setText(QString(100000, u'ก'));
        box->insert(QStringLiteral("ข"));
        QCOMPARE(box->text().size(), 100001);

        box->setText(QStringLiteral("มังกร"));
        QTest::keyClick(box, Qt::Key_Down);
        QTRY_VERIFY(harness.list()->hasFocus());
        QVERIFY(!box->hasSelectedText());
        box->setFocus(Qt::MouseFocusReason); // a click, where the box would not select itself
        QTRY_VERIFY(box->hasFocus());
        QCOMPARE(box->selectedText(), QStringLiteral("มังกร"));
    }
};

QTEST_MAIN(FrmQStoryLayoutTest)
#include "frm_q_story_layout_test.moc"
