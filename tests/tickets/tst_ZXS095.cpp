// The ticket designer through its widgets: items, editors, dragging, the cut
// guide, the serial range, the Latin font check and the layout file. No printer.
#include "recordingmessageservice.h"
#include "screentest.h"

#include "framework/inquirytexts.h"
#include "platform/inifile.h"
#include "tickets/ZXS095.h"
#include "tickets/ticketlayout.h"
#include "tickets/ticketpictures.h"
#include "tickets/tickettexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

class tst_ZXS095 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void frame();
    void labelsAreNamedByTheCounterAndCentred();
    void selectingShowsTheItemsOwnValues();
    void sequenceBox();
    void barcodeItem();
    void dragKeepsTheCornerOnThePicture_data();
    void dragKeepsTheCornerOnThePicture();
    void ticketSizeCutGuideAndDirection();
    void serialRange();
    void latinFontCheck();
    void saveWritesTheFileAndAsksBeforeOverwriting();
    void openReplacesTheDesign();
    void unreadableAndUnwritableFilesAreReported();
    void openRefusesOtherFiles();
    void saveRefusesCharactersTheCodePageLacks();

private:
    QLabel *addLabel(const QString &text, int xMm, int yMm, int font = 0, int size = 1);
    void drag(QWidget *item, const QPoint &by);
    QString layoutFile(const QByteArray &contents);

    TfrmZXS095 *m_screen = nullptr;
    RecordingMessageService *m_messages = nullptr;
    QTemporaryDir m_dir;
};

void tst_ZXS095::initTestCase()
{
    TicketPictures::setFolder(m_dir.filePath(QStringLiteral("pictures")));
}

void tst_ZXS095::init()
{
    m_messages = new RecordingMessageService;
    m_screen = new TfrmZXS095;
    activate(m_screen);
}

void tst_ZXS095::cleanup()
{
    delete m_screen;
    m_screen = nullptr;
    delete m_messages;
    m_messages = nullptr;
}

QLabel *tst_ZXS095::addLabel(const QString &text, int xMm, int yMm, int font, int size)
{
    QTest::mouseClick(m_screen->btnPropertyLabel, Qt::LeftButton);
    auto *label = qobject_cast<QLabel *>(m_screen->selection());
    m_screen->edtPropertyText->setText(text);
    m_screen->cbbPropertyFont->setCurrentIndex(font);
    m_screen->edtPropertySize->setValue(size);
    m_screen->edtPropertyPosX->setValue(xMm);
    m_screen->edtPropertyPosY->setValue(yMm);
    return label;
}

void tst_ZXS095::drag(QWidget *item, const QPoint &by)
{
    const QPoint start(2, 2);
    QTest::mousePress(item, Qt::LeftButton, {}, start);
    QMouseEvent move(QEvent::MouseMove,
                     QPointF(start + by / 2),
                     item->mapToGlobal(QPointF(start + by / 2)),
                     Qt::NoButton,
                     Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(item, &move);
    // Each event is in the item's coordinates, which move with it.
    QTest::mouseRelease(item, Qt::LeftButton, {}, start + by - by / 2);
}

QString tst_ZXS095::layoutFile(const QByteArray &contents)
{
    static int n = 0;
    const QString path = m_dir.filePath(QStringLiteral("layout%1.ini").arg(++n));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(contents);
    return path;
}

void tst_ZXS095::frame()
{
    QCOMPARE(m_screen->statusPanel(0)->text(), QStringLiteral("ZXS095"));
    QCOMPARE(m_screen->windowTitle(), TicketText::caption());
    QCOMPARE(m_screen->panTicket->size(), QSize(620, 240));
    QCOMPARE(m_screen->panTicket->grab().toImage().pixelColor(300, 100), QColor(Qt::white));
    QCOMPARE(m_screen->bbtPrint->property("tag").toInt(), 1048576);
    QCOMPARE(m_screen->bbtOpen->property("tag").toInt(), 1);
    QCOMPARE(m_screen->bbtSave->property("tag").toInt(), 4096);
    QCOMPARE(m_screen->cbbPropertyFont->count(), 13);
    QCOMPARE(m_screen->cbbPropertyFont->itemText(5), QStringLiteral("영문 OCRB 30x52"));
    QVERIFY(m_screen->imgTicketBarcode->isHidden());
    QCOMPARE(m_screen->imgTicketBarcode->geometry(), QRect(0, 0, 88, 28));
    for (QWidget *editor : std::initializer_list<QWidget *>{m_screen->cbbPropertyFont,
                                                            m_screen->edtPropertySize,
                                                            m_screen->edtPropertyPosX,
                                                            m_screen->edtPropertyText,
                                                            m_screen->chkPropertySeq,
                                                            m_screen->btnPropertyDelete})
        QVERIFY2(!editor->isEnabled(), qPrintable(editor->objectName()));
    // The paper and direction pictures come from JPEG files drawn at first use.
    QVERIFY(QFile::exists(TicketPictures::folder() + QStringLiteral("/ticket-direction-3.jpg")));
    QVERIFY(!m_screen->imgPaper->pixmap().isNull());
    QVERIFY(m_screen->imgDirection[0]->isVisible());
    QVERIFY(!m_screen->imgDirection[1]->isVisible());
}

void tst_ZXS095::labelsAreNamedByTheCounterAndCentred()
{
    QTest::mouseClick(m_screen->btnPropertyLabel, Qt::LeftButton);
    QLabel *first = m_screen->labelItems().value(0);
    QVERIFY(first);
    QCOMPARE(first->objectName(), QStringLiteral("Label1"));
    QCOMPARE(first->text(), QStringLiteral("Label1"));
    QCOMPARE(m_screen->selection(), first);
    // Centred, then moved to the whole millimetre the editors show.
    const QPoint centre((620 - first->width()) / 2, (240 - first->height()) / 2);
    QCOMPARE(first->pos(), QPoint(centre.x() / 4 * 4, centre.y() / 4 * 4));
    QVERIFY(first->autoFillBackground()); // sky blue while selected

    QTest::mouseClick(m_screen->btnPropertyLabel, Qt::LeftButton);
    QTest::mouseClick(m_screen->btnPropertyDelete, Qt::LeftButton);
    QTest::mouseClick(m_screen->btnPropertyLabel, Qt::LeftButton);
    QTest::mouseClick(m_screen->btnPropertyLabel, Qt::LeftButton);
    QStringList names;
    for (QLabel *label : m_screen->labelItems())
        names.append(label->objectName());
    QCOMPARE(names, QStringList({"Label1", "Label3", "Label4"}));
    QVERIFY(!first->autoFillBackground());
}

void tst_ZXS095::selectingShowsTheItemsOwnValues()
{
    QLabel *big = addLabel(QStringLiteral("BIG"), 10, 5, 3, 4);
    QLabel *small = addLabel(QStringLiteral("small"), 30, 20);
    // A click on the first label: the size shown for the second must not stick to it.
    QTest::mouseClick(big, Qt::LeftButton, {}, QPoint(1, 1));
    QCOMPARE(m_screen->selection(), big);
    QCOMPARE(m_screen->edtPropertySize->value(), 4);
    QCOMPARE(m_screen->cbbPropertyFont->currentIndex(), 3);
    QCOMPARE(m_screen->edtPropertyText->text(), QStringLiteral("BIG"));
    QCOMPARE(m_screen->edtPropertyPosX->value(), 10);
    QTest::mouseClick(small, Qt::LeftButton, {}, QPoint(1, 1));
    QCOMPARE(m_screen->edtPropertySize->value(), 1);

    const TicketDesign d = m_screen->design();
    QCOMPARE(d.labels.size(), 2);
    QCOMPARE(d.labels[0].multiplier, 4);
    QCOMPARE(d.labels[0].fontIndex, 3);
    QCOMPARE(d.labels[0].leftPx, 40);
    QCOMPARE(d.labels[0].topPx, 20);
    QCOMPARE(d.labels[1].text, QStringLiteral("small"));
    QCOMPARE(big->font().pointSize(), 12 * 4);
}

void tst_ZXS095::sequenceBox()
{
    QLabel *label = addLabel(QStringLiteral("No."), 5, 5);
    m_screen->chkPropertySeq->setChecked(true);
    QCOMPARE(m_screen->edtPropertyText->text(), TicketDesign::sequenceMark());
    QVERIFY(!m_screen->edtPropertyText->isEnabled());
    QCOMPARE(label->text(), TicketDesign::sequenceMark());
    m_screen->chkPropertySeq->setChecked(false);
    QCOMPARE(label->text(), QStringLiteral("Label1"));
    QVERIFY(m_screen->edtPropertyText->isEnabled());
}

void tst_ZXS095::barcodeItem()
{
    QTest::mouseClick(m_screen->btnPropertyBarcode, Qt::LeftButton);
    QLabel *bar = m_screen->imgTicketBarcode;
    QVERIFY(bar->isVisible());
    QVERIFY(!m_screen->btnPropertyBarcode->isEnabled());
    QCOMPARE(m_screen->selection(), bar);
    QCOMPARE(bar->pos(), QPoint((620 - 88) / 2 / 4 * 4, (240 - 28) / 2 / 4 * 4));
    QVERIFY(!m_screen->cbbPropertyFont->isEnabled());
    QVERIFY(!m_screen->chkPropertySeq->isEnabled());
    QVERIFY(m_screen->chkPropertySeq->isChecked());
    QVERIFY(m_screen->edtPropertySizeHeight->isVisible());
    QCOMPARE(m_screen->edtPropertyText->text(), TicketDesign::sequenceMark());
    QCOMPARE(m_screen->edtPropertySize->value(), 2);
    QCOMPARE(m_screen->edtPropertySizeHeight->value(), 7);

    m_screen->edtPropertySize->setValue(3);
    m_screen->edtPropertySizeHeight->setValue(12);
    m_screen->edtPropertyPosX->setValue(20);
    m_screen->edtPropertyPosY->setValue(8);
    QCOMPARE(bar->geometry(), QRect(80, 32, 132, 48));

    // A label selected after it hides the height editor.
    addLabel(QStringLiteral("x"), 2, 2);
    QVERIFY(!m_screen->edtPropertySizeHeight->isVisible());

    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(1, 1));
    QTest::mouseClick(m_screen->btnPropertyDelete, Qt::LeftButton);
    QVERIFY(bar->isHidden());
    QVERIFY(m_screen->btnPropertyBarcode->isEnabled());
    QTest::mouseClick(m_screen->btnPropertyBarcode, Qt::LeftButton);
    QCOMPARE(bar->geometry(), QRect(80, 32, 132, 48)); // back where it was
}

void tst_ZXS095::dragKeepsTheCornerOnThePicture_data()
{
    QTest::addColumn<QPoint>("by");
    QTest::addColumn<QPoint>("expected");
    // From 100 mm, 20 mm (400, 80 px).
    QTest::newRow("within") << QPoint(37, 21) << QPoint(436, 100);
    QTest::newRow("past the right edge") << QPoint(900, 0) << QPoint(600, 80);
    QTest::newRow("past the top-left") << QPoint(-900, -900) << QPoint(8, 8);
    QTest::newRow("past the bottom") << QPoint(0, 500) << QPoint(400, 220);
}

void tst_ZXS095::dragKeepsTheCornerOnThePicture()
{
    QFETCH(QPoint, by);
    QFETCH(QPoint, expected);
    QLabel *label = addLabel(QStringLiteral("drag me"), 100, 20);
    drag(label, by);
    // Released at 602 px (620 - 8 - 10) and so on; the click then shows and
    // keeps whole millimetres: 602 px is 150 mm.
    QCOMPARE(label->pos(), expected);
    QCOMPARE(m_screen->edtPropertyPosX->value(), expected.x() / 4);
    QCOMPARE(m_screen->edtPropertyPosY->value(), expected.y() / 4);
}

void tst_ZXS095::ticketSizeCutGuideAndDirection()
{
    m_screen->edtSizeWidth->setValue(100);
    m_screen->edtSizeHeight->setValue(500); // kept within 10 … 200
    QCOMPARE(m_screen->panTicket->size(), QSize(400, 800));
    m_screen->edtSizeCut->setValue(20);
    m_screen->cbbSizeCut->setCurrentIndex(1);
    QCOMPARE(m_screen->shpCutLine->geometry(), QRect(0, 80, 400, 1));
    QVERIFY(!m_screen->shpCutLine->isHidden());
    m_screen->cbbSizeCut->setCurrentIndex(2);
    QCOMPARE(m_screen->shpCutLine->geometry(), QRect(80, 0, 1, 800));
    m_screen->cbbSizeCut->setCurrentIndex(0);
    QVERIFY(m_screen->shpCutLine->isHidden());

    auto *button = m_screen->rdgDirection->findChild<QAbstractButton *>(
            QStringLiteral("rdgDirection2"));
    button->click();
    QCOMPARE(m_screen->direction(), 2);
    QVERIFY(m_screen->imgDirection[2]->isVisible());
    QVERIFY(!m_screen->imgDirection[0]->isVisible());
}

void tst_ZXS095::serialRange()
{
    m_screen->edtPropertySeqFrom->setText(QStringLiteral("5"));
    m_screen->edtPropertySeqCount->setText(QStringLiteral("3"));
    QCOMPARE(m_screen->edtPropertySeqTo->text(), QStringLiteral("7"));
    m_screen->edtPropertySeqTo->setText(QStringLiteral("10"));
    QCOMPARE(m_screen->edtPropertySeqCount->text(), QStringLiteral("6"));
    m_screen->edtPropertySeqTo->setText(QStringLiteral("4")); // below the first: count kept
    QCOMPARE(m_screen->edtPropertySeqCount->text(), QStringLiteral("6"));
}

void tst_ZXS095::latinFontCheck()
{
    QLabel *ocr = addLabel(QStringLiteral("abc"), 5, 5, 4);
    addLabel(QStringLiteral("한글 in Latin"), 5, 15, 1);
    addLabel(QStringLiteral("또 한글"), 5, 25, 2);
    const QString path = m_dir.filePath(QStringLiteral("latin.ini"));
    m_messages->fileNames = {path};
    m_messages->answers = {false};
    QTest::mouseClick(m_screen->bbtSave, Qt::LeftButton);
    // Upper-cased even though the save stops; one question, for the first Hangul label only.
    QCOMPARE(ocr->text(), QStringLiteral("ABC"));
    QCOMPARE(m_messages->entries.size(), 1);
    QCOMPARE(m_messages->entries[0].kind, RecordingMessageService::Question);
    QCOMPARE(m_messages->entries[0].title, TicketText::caption());
    QCOMPARE(m_messages->entries[0].text,
             TicketText::latinFontQuestion(QStringLiteral("한글 in Latin")));
    QVERIFY(!QFile::exists(path));
}

void tst_ZXS095::saveWritesTheFileAndAsksBeforeOverwriting()
{
    // An empty design saves nothing and asks nothing.
    QTest::mouseClick(m_screen->bbtSave, Qt::LeftButton);
    QVERIFY(m_messages->entries.isEmpty());

    QLabel *label = addLabel(QStringLiteral("{sequence}"), 20, 10, 0, 2);
    Q_UNUSED(label);
    QTest::mouseClick(m_screen->btnPropertyBarcode, Qt::LeftButton);
    m_screen->edtPropertySize->setValue(3);
    m_screen->edtPropertySizeHeight->setValue(12);
    m_screen->edtPropertyPosX->setValue(20);
    m_screen->edtPropertyPosY->setValue(8);
    addLabel(QStringLiteral("gone"), 3, 3);
    const QString path = m_dir.filePath(QStringLiteral("saved"));
    m_messages->fileNames = {path};
    QTest::mouseClick(m_screen->bbtSave, Qt::LeftButton);
    const IniFile file(path + QStringLiteral(".ini"));
    QCOMPARE(file.sectionLines(QStringLiteral("Barcode")),
             QStringList({"Barcode=1", "Width=3", "Height=12", "Left=20", "Top=8"}));
    QCOMPARE(file.sectionLines(QStringLiteral("Label")),
             QStringList(
                     {"Label1=<RC10,20><F0><HW2,2>{sequence}", "Label2=<RC3,3><F0><HW1,1>gone"}));
    QCOMPARE(m_screen->layoutPath(), path + QStringLiteral(".ini"));

    // Again to the same file after deleting a label: asked first, no stale key.
    QTest::mouseClick(m_screen->btnPropertyDelete, Qt::LeftButton);
    m_messages->clear();
    m_messages->fileNames = {path + QStringLiteral(".ini")};
    m_messages->answers = {true};
    QTest::mouseClick(m_screen->bbtSave, Qt::LeftButton);
    QCOMPARE(m_messages->texts(RecordingMessageService::Question),
             QStringList{MessageText::overwriteQuestion()});
    QCOMPARE(IniFile(path + QStringLiteral(".ini")).sectionLines(QStringLiteral("Label")),
             QStringList({"Label1=<RC10,20><F0><HW2,2>{sequence}"}));

    // No to the overwrite question leaves the file as it was.
    addLabel(QStringLiteral("new"), 4, 4);
    m_messages->fileNames = {path + QStringLiteral(".ini")};
    m_messages->answers = {false};
    QTest::mouseClick(m_screen->bbtSave, Qt::LeftButton);
    QCOMPARE(IniFile(path + QStringLiteral(".ini")).sectionLines(QStringLiteral("Label")).size(), 1);
}

void tst_ZXS095::openReplacesTheDesign()
{
    QTest::mouseClick(m_screen->btnPropertyBarcode, Qt::LeftButton);
    addLabel(QStringLiteral("old"), 5, 5);
    m_messages->fileNames = {
            layoutFile("[Config]\nDirection=3\nWidth=120\nHeight=40\nCutType=1\n"
                       "CutLine=15\n[Label]\nLabel3=<RC10,20><F4><HW2,2>{sequence}\n"
                       "Label7=<RC0,x><F99><HW0,0>Free text\n")};
    QTest::mouseClick(m_screen->bbtOpen, Qt::LeftButton);
    QVERIFY(m_messages->texts(RecordingMessageService::Error).isEmpty());

    QVERIFY(m_screen->imgTicketBarcode->isHidden());
    QVERIFY(m_screen->btnPropertyBarcode->isEnabled());
    QCOMPARE(m_screen->direction(), 3);
    QVERIFY(m_screen->imgDirection[3]->isVisible());
    QCOMPARE(m_screen->panTicket->size(), QSize(480, 160));
    QCOMPARE(m_screen->shpCutLine->geometry(), QRect(0, 60, 480, 1));
    const QList<QLabel *> labels = m_screen->labelItems();
    QCOMPARE(labels.size(), 2);
    QCOMPARE(labels[0]->objectName(), QStringLiteral("Label1"));
    QCOMPARE(labels[1]->objectName(), QStringLiteral("Label2"));
    const TicketDesign d = m_screen->design();
    QCOMPARE(d.labels[0].text, TicketDesign::sequenceMark());
    QCOMPARE(d.labels[0].leftPx, 80);
    QCOMPARE(d.labels[0].topPx, 40);
    QCOMPARE(d.labels[0].fontIndex, 4);
    QCOMPARE(d.labels[0].multiplier, 2);
    // Missing and bad numbers: 2 mm, size 1; an unknown font leaves the chooser empty.
    QCOMPARE(d.labels[1].leftPx, 8);
    QCOMPARE(d.labels[1].topPx, 8);
    QCOMPARE(d.labels[1].multiplier, 1);
    QCOMPARE(d.labels[1].fontIndex, -1);
    QCOMPARE(d.labels[1].text, QStringLiteral("Free text"));
    QCOMPARE(m_screen->selection(), labels[1]);
    QCOMPARE(labels[1]->font().pointSize(), 10);

    // A barcode in the file is shown where it says; a later label counts from 1 again.
    m_messages->fileNames = {
            layoutFile("[Barcode]\nBarcode=1\nWidth=4\nHeight=9\nLeft=30\nTop=1\n")};
    QTest::mouseClick(m_screen->bbtOpen, Qt::LeftButton);
    QCOMPARE(m_screen->imgTicketBarcode->geometry(), QRect(120, 8, 176, 36));
    QVERIFY(!m_screen->btnPropertyBarcode->isEnabled());
    QCOMPARE(m_screen->direction(), 0);
    QCOMPARE(m_screen->panTicket->size(), QSize(620, 240));
    QTest::mouseClick(m_screen->btnPropertyLabel, Qt::LeftButton);
    QCOMPARE(m_screen->labelItems().value(0)->objectName(), QStringLiteral("Label1"));
}

void tst_ZXS095::unreadableAndUnwritableFilesAreReported()
{
    addLabel(QStringLiteral("keep"), 5, 5);
    m_messages->fileNames = {m_dir.filePath(QStringLiteral("missing.ini"))};
    QTest::mouseClick(m_screen->bbtOpen, Qt::LeftButton);
    QCOMPARE(m_messages->texts(RecordingMessageService::Error),
             QStringList{
                     TicketText::cannotReadLayout(m_dir.filePath(QStringLiteral("missing.ini")))});
    QCOMPARE(m_messages->entries.last().title, TicketText::caption());
    QCOMPARE(m_screen->labelItems().size(), 1); // the design is kept

    const QString nowhere = m_dir.filePath(QStringLiteral("no/such/folder/t.ini"));
    m_messages->clear();
    m_messages->fileNames = {nowhere};
    QTest::mouseClick(m_screen->bbtSave, Qt::LeftButton);
    QCOMPARE(m_messages->texts(RecordingMessageService::Error),
             QStringList{TicketText::cannotWriteLayout(nowhere)});
    QVERIFY(m_screen->layoutPath().isEmpty());

    // Cancelled dialogs do nothing.
    m_messages->clear();
    QTest::mouseClick(m_screen->bbtOpen, Qt::LeftButton);
    QTest::mouseClick(m_screen->bbtSave, Qt::LeftButton);
    QCOMPARE(m_messages->texts(RecordingMessageService::Error), QStringList());
    QCOMPARE(m_screen->labelItems().size(), 1);
}

void tst_ZXS095::openRefusesOtherFiles()
{
    QTest::mouseClick(m_screen->btnPropertyLabel, Qt::LeftButton);
    m_screen->edtPropertyText->setText(QStringLiteral("KEEP"));
    const QString coupon = m_dir.filePath(QStringLiteral("coupon.ini"));
    const QString picture = m_dir.filePath(QStringLiteral("picture.png"));
    {
        QFile c(coupon);
        QVERIFY(c.open(QIODevice::WriteOnly | QIODevice::Truncate));
        c.write("[frmZXS090]\r\nPrn1=@#No. {일련번호}@#\r\n");
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(Qt::white);
        QVERIFY(image.save(picture, "PNG"));
    }
    for (const QString &path : {coupon, picture}) {
        m_messages->clear();
        m_messages->fileNames = {path};
        QTest::mouseClick(m_screen->bbtOpen, Qt::LeftButton);
        QCOMPARE(m_messages->texts(RecordingMessageService::Error),
                 QStringList{TicketText::notATicketLayout(path)});
        QCOMPARE(m_screen->labelItems().size(), 1);
        QCOMPARE(m_screen->labelOf(m_screen->labelItems().first()).text, QStringLiteral("KEEP"));
        QVERIFY(m_screen->layoutPath().isEmpty());
    }
}

void tst_ZXS095::saveRefusesCharactersTheCodePageLacks()
{
    QTest::mouseClick(m_screen->btnPropertyLabel, Qt::LeftButton);
    m_screen->edtPropertyText->setText(QStringLiteral("😀"));
    const QString name = m_screen->labelItems().first()->objectName();
    const QString path = m_dir.filePath(QStringLiteral("lacks.ini"));
    m_messages->fileNames = {path};
    QTest::mouseClick(m_screen->bbtSave, Qt::LeftButton);
    QCOMPARE(m_messages->texts(RecordingMessageService::Error),
             QStringList{TicketText::cannotEncode(name)});
    QVERIFY(!QFile::exists(path));
}

QTEST_MAIN(tst_ZXS095)
#include "tst_ZXS095.moc"
