// The static form of every window: sizes, places, faces and frames, and that
// every text of the game is drawn with real glyphs and fits its control.

#include "endings/frmGover.h"
#include "endings/frmReadme.h"
#include "endings/frmSplash.h"
#include "endings/frmVer.h"
#include "rules/EventTable.h"
#include "events/frmIvn01.h"
#include "rules/PayTable.h"
#include "game/frmMain.h"
#include "support/GameFixture.h"
#include "support/ScriptedPlatform.h"
#include "ui/Fonts.h"
#include "ui/Translations.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <QFontInfo>
#include <QGlyphRun>
#include <QLabel>
#include <QMenuBar>
#include <QTextEdit>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const char *const gothicP = "IPAPGothic";
const char *const gothic = "IPAGothic";
const char *const minchoP = "IPAPMincho";

// Characters of `text` that no face at hand can draw in `font`: they would
// show as empty boxes.
QString missingGlyphs(const QString &text, const QFont &font)
{
    QString missing;
    QTextLayout layout(text, font);
    layout.beginLayout();
    while (layout.createLine().isValid()) {
    }
    layout.endLayout();
    for (const QGlyphRun &run : layout.glyphRuns()) {
        for (quint32 glyph : run.glyphIndexes()) {
            if (glyph == 0)
                missing += u'?';
        }
    }
    return missing;
}

// Lays out a label's text in `laidOut` as the label lays it out.
void layOutLike(const QLabel &label, QTextDocument &laidOut)
{
    laidOut.setDefaultFont(label.font());
    laidOut.setDocumentMargin(0);
    if (label.wordWrap())
        laidOut.setTextWidth(label.contentsRect().width());
    if (label.textFormat() == Qt::RichText)
        laidOut.setHtml(label.text());
    else
        laidOut.setPlainText(label.text());
    laidOut.size();   // lays it out
}

// The ink of a label's text, laid out as the label lays it out.
QSize inkSize(const QLabel &label)
{
    const QFontMetrics metrics(label.font());
    QTextDocument laidOut;
    layOutLike(label, laidOut);
    const QTextBlock last = laidOut.lastBlock();
    const QTextLayout *layout = last.layout();
    const QTextLine line = layout->lineAt(layout->lineCount() - 1);
    const qreal inkBottom = layout->position().y() + line.y() + line.ascent()
        + metrics.tightBoundingRect(last.text().mid(line.textStart(), line.textLength())).bottom();
    const qreal inkRight = label.wordWrap() ? laidOut.idealWidth() : metrics.tightBoundingRect(label.text()).right();
    return {qCeil(inkRight), qCeil(inkBottom)};
}

// How many lines a label's text takes, laid out as the label lays it out.
int linesOf(const QLabel &label)
{
    QTextDocument laidOut;
    layOutLike(label, laidOut);
    int lines = 0;
    for (QTextBlock block = laidOut.begin(); block.isValid(); block = block.next())
        lines += block.layout()->lineCount();
    return lines;
}

// Where a push button draws its text, inside its bevel.
QRect textRoom(const QPushButton &button)
{
    QStyleOptionButton option;
    option.initFrom(&button);
    return button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button);
}

QString withoutMnemonic(QString text)
{
    return text.remove(u'&');
}

} // namespace

class TestLayout : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void clientAreas_data();
    void clientAreas();
    void controls_data();
    void controls();
    void tabOrder_data();
    void tabOrder();
    void mainWindowStartsAsLaidOut();
    void menus();
    void reelWindowsShowFramesUnscaledWithAStripOfGround();
    void noTextRendersAsEmptyBoxes();
    void fixedTextsFitTheirControls();
    void textsFitInEitherLanguage_data();
    void textsFitInEitherLanguage();

private:
    QWidget *window(const QString &name) const;
    static void row(const char *window, const char *control, QRect rect, const char *face, int pixels, bool bold,
                    bool sizedToFit);

    ScriptedPlatform machine_;
    std::unique_ptr<frmMain> main_;
    std::vector<std::unique_ptr<QWidget>> others_;
};

namespace {

// Every window of the game, made afresh, by name.
std::unique_ptr<QWidget> makeWindow(const QString &name, ScriptedPlatform &machine)
{
    if (name == u"frmMain")
        return std::make_unique<frmMain>(machine.platform());
    if (name == u"frmIvn01")
        return std::make_unique<frmIvn01>();
    if (name == u"frmGover1")
        return std::make_unique<frmGover1>();
    if (name == u"frmGover2")
        return std::make_unique<frmGover2>();
    if (name == u"frmGover3")
        return std::make_unique<frmGover3>();
    if (name == u"frmSplash")
        return std::make_unique<frmSplash>();
    if (name == u"frmReadme")
        return std::make_unique<frmReadme>();
    if (name == u"frmVer")
        return std::make_unique<frmVer>();
    return nullptr;
}

} // namespace

void TestLayout::initTestCase()
{
    installFontSubstitutions();
    main_ = std::make_unique<frmMain>(machine_.platform());
    for (const char *name : {"frmIvn01", "frmGover1", "frmGover2", "frmGover3", "frmSplash", "frmReadme", "frmVer"})
        others_.push_back(makeWindow(QString::fromLatin1(name), machine_));
}

void TestLayout::cleanupTestCase()
{
    others_.clear();
    main_.reset();
}

QWidget *TestLayout::window(const QString &name) const
{
    if (name == main_->objectName())
        return main_.get();
    for (const auto &w : others_) {
        if (w->objectName() == name)
            return w.get();
    }
    return nullptr;
}

void TestLayout::clientAreas_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("client");
    QTest::addColumn<bool>("titleBar");
    QTest::newRow("frmMain") << u"frmMain"_s << QSize(253, 216) << true;
    QTest::newRow("frmIvn01") << u"frmIvn01"_s << QSize(337, 168) << true;
    QTest::newRow("frmGover1") << u"frmGover1"_s << QSize(506, 443) << true;
    QTest::newRow("frmGover2") << u"frmGover2"_s << QSize(504, 197) << true;
    QTest::newRow("frmGover3") << u"frmGover3"_s << QSize(503, 246) << true;
    QTest::newRow("frmSplash") << u"frmSplash"_s << QSize(482, 232) << false;
    QTest::newRow("frmReadme") << u"frmReadme"_s << QSize(390, 549) << true;
    QTest::newRow("frmVer") << u"frmVer"_s << QSize(376, 285) << false;
}

void TestLayout::clientAreas()
{
    QFETCH(QString, name);
    QFETCH(QSize, client);
    QFETCH(bool, titleBar);
    QWidget *w = window(name);
    QVERIFY(w != nullptr);

    // Below the menu bar, where there is one.
    const auto *mainWindow = qobject_cast<QMainWindow *>(w);
    const QSize area = mainWindow ? mainWindow->centralWidget()->size() : w->size();
    if (mainWindow)
        QCOMPARE(w->height(), client.height() + mainWindow->menuBar()->height());
    QCOMPARE(area, client);
    QCOMPARE(w->minimumSize(), w->maximumSize());

    const Qt::WindowFlags flags = w->windowFlags();
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QCOMPARE(bool(flags & Qt::WindowTitleHint), titleBar);
    QCOMPARE(bool(flags & Qt::WindowCloseButtonHint), titleBar);

    // Centred on the screen by its own placement as it is first shown (the
    // real display test checks the frame a window manager draws).
    w->show();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint centre = w->frameGeometry().center();
    w->hide();
    QVERIFY2(qAbs(centre.x() - screen.center().x()) <= 1 && qAbs(centre.y() - screen.center().y()) <= 1,
             qPrintable(u"%1 is centred at %2,%3"_s.arg(name).arg(centre.x()).arg(centre.y())));
}

void TestLayout::controls_data()
{
    QTest::addColumn<QString>("windowName");
    QTest::addColumn<QString>("controlName");
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<QString>("face");
    QTest::addColumn<int>("pixels");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("sizedToFit");

    row("frmMain", "lblCount", {136, 8, 57, 25}, gothicP, 24, false, false);
    row("frmMain", "lblNichi", {200, 8, 49, 25}, gothicP, 24, false, false);
    row("frmMain", "lblMsg", {32, 40, 201, 33}, gothicP, 27, false, false);
    row("frmMain", "lblTensuu", {24, 72, 161, 49}, gothic, 48, true, false);
    row("frmMain", "lblRyo", {192, 76, 49, 53}, gothicP, 48, false, false);
    row("frmMain", "picSlot1", {24, 128, 36, 36}, nullptr, 0, false, false);
    row("frmMain", "picSlot2", {80, 128, 36, 36}, nullptr, 0, false, false);
    row("frmMain", "picSlot3", {136, 128, 36, 36}, nullptr, 0, false, false);
    row("frmMain", "cmdStart", {184, 152, 49, 49}, gothicP, 35, false, false);
    row("frmMain", "cmdDamy", {184, 152, 49, 49}, gothicP, 35, false, false);
    row("frmMain", "cmdStop1", {24, 176, 33, 25}, gothicP, 24, false, false);
    row("frmMain", "cmdStop2", {82, 176, 33, 25}, gothicP, 24, false, false);
    row("frmMain", "cmdStop3", {136, 176, 33, 25}, gothicP, 24, false, false);
    row("frmIvn01", "txtMsg", {104, 12, 221, 109}, gothicP, 19, false, false);
    row("frmIvn01", "cmdNext", {132, 128, 97, 33}, gothicP, 19, false, false);
    row("frmIvn01", "lblName", {8, 124, 105, 25}, gothicP, 16, false, false);
    row("frmIvn01", "cmdEnd_0", {132, 128, 97, 33}, gothicP, 19, false, false);
    row("frmIvn01", "cmdEnd_1", {132, 128, 97, 33}, gothicP, 19, false, false);
    row("frmGover1", "imgIcon_0", {24, 8, 80, 91}, nullptr, 0, false, false);
    row("frmGover1", "Label1", {112, 8, 305, 33}, gothicP, 32, false, false);
    row("frmGover1", "Label2", {192, 48, 201, 33}, gothicP, 32, false, false);
    row("frmGover1", "Label3", {288, 88, 209, 33}, gothicP, 32, false, false);
    row("frmGover1", "Label4", {32, 104, 65, 25}, gothicP, 19, false, false);
    row("frmGover1", "Label5", {32, 144, 209, 33}, gothicP, 24, false, false);
    row("frmGover1", "lblScore", {248, 136, 65, 41}, gothicP, 35, false, false);
    row("frmGover1", "Label7", {320, 144, 89, 33}, gothicP, 24, false, false);
    row("frmGover1", "Label6", {32, 184, 433, 25}, gothicP, 21, false, false);
    row("frmGover1", "Label8", {32, 208, 433, 25}, gothicP, 21, false, false);
    row("frmGover1", "Label9", {56, 232, 301, 25}, gothicP, 21, false, false);
    row("frmGover1", "lblPassWord", {136, 272, 217, 41}, gothicP, 37, false, false);
    row("frmGover1", "Label10", {32, 320, 433, 25}, gothicP, 21, false, false);
    row("frmGover1", "Label11", {32, 344, 433, 25}, gothicP, 21, false, false);
    row("frmGover1", "cmdEnd", {64, 384, 169, 33}, gothicP, 27, false, false);
    row("frmGover1", "cmdReplay", {264, 384, 169, 33}, gothicP, 27, false, false);
    row("frmGover2", "imgIcon_0", {20, 4, 80, 91}, nullptr, 0, false, false);
    row("frmGover2", "Label1", {112, 8, 353, 33}, gothicP, 32, false, false);
    row("frmGover2", "Label2", {144, 48, 337, 33}, gothicP, 32, false, false);
    row("frmGover2", "Label3", {280, 88, 209, 33}, gothicP, 32, false, false);
    row("frmGover2", "Label4", {32, 104, 65, 25}, gothicP, 19, false, false);
    row("frmGover2", "cmdEnd", {56, 144, 169, 33}, gothicP, 27, false, false);
    row("frmGover2", "cmdReplay", {264, 144, 169, 33}, gothicP, 27, false, false);
    row("frmGover3", "imgIcon_0", {12, 8, 80, 91}, nullptr, 0, false, false);
    row("frmGover3", "Label1", {112, 8, 353, 33}, gothicP, 32, false, false);
    row("frmGover3", "Label2", {168, 48, 321, 33}, gothicP, 32, false, false);
    row("frmGover3", "Label3", {120, 96, 377, 33}, gothicP, 32, false, false);
    row("frmGover3", "Label4", {32, 104, 65, 25}, gothicP, 19, false, false);
    row("frmGover3", "Label5", {248, 136, 249, 33}, gothicP, 32, false, false);
    row("frmGover3", "cmdEnd", {56, 184, 169, 33}, gothicP, 27, false, false);
    row("frmGover3", "cmdReplay", {264, 184, 169, 33}, gothicP, 27, false, false);
    row("frmSplash", "lblCompanyProduct", {16, 16, 190, 24}, gothicP, 24, true, true);
    row("frmSplash", "lblPlatform", {48, 48, 135, 21}, gothicP, 21, true, true);
    row("frmSplash", "lblProductName", {24, 80, 300, 37}, gothicP, 37, true, true);
    row("frmSplash", "lblVersion", {217, 128, 94, 16}, gothicP, 16, true, true);
    row("frmSplash", "imgLogo", {320, 16, 150, 158}, nullptr, 0, false, false);
    row("frmSplash", "lblCopyright", {344, 176, 97, 17}, nullptr, 0, false, false);
    row("frmSplash", "lblHttp", {56, 192, 233, 17}, nullptr, 0, false, false);
    row("frmVer", "lblCompanyProduct", {16, 16, 190, 24}, gothicP, 24, true, true);
    row("frmVer", "lblPlatform", {48, 48, 135, 21}, gothicP, 21, true, true);
    row("frmVer", "lblProductName", {24, 80, 300, 37}, gothicP, 37, true, true);
    row("frmVer", "lblVersion", {217, 128, 94, 16}, gothicP, 16, true, true);
    row("frmVer", "lblCopyright", {232, 152, 97, 17}, nullptr, 0, false, false);
    row("frmVer", "lblHttp", {64, 192, 233, 17}, nullptr, 0, false, false);
    row("frmReadme", "Label1", {16, 8, 345, 129}, minchoP, 24, false, false);
    row("frmReadme", "Label2", {16, 136, 353, 105}, minchoP, 24, false, false);
    row("frmReadme", "Label3", {16, 240, 353, 81}, minchoP, 24, false, false);
    row("frmReadme", "Label4", {24, 320, 353, 57}, minchoP, 24, false, false);
    row("frmReadme", "Label5", {24, 376, 353, 81}, minchoP, 24, false, false);
    row("frmReadme", "Label6", {64, 472, 313, 25}, gothicP, 16, false, false);
    row("frmReadme", "cmdClose", {128, 504, 121, 33}, nullptr, 0, false, false);
    row("frmSplash", "Frame1", {16, 8, 455, 213}, nullptr, 0, false, false);
    row("frmVer", "Frame1", {16, 8, 343, 213}, nullptr, 0, false, false);
    row("frmVer", "cmdClose", {120, 232, 121, 33}, nullptr, 0, false, false);
    for (int i = 0; i < 11; ++i) {
        static const QRect portraits[] = {{16, 20, 80, 91}, {16, 24, 80, 91}, {16, 20, 80, 91}, {16, 20, 81, 90},
                                          {16, 20, 79, 91}, {20, 24, 74, 91}, {16, 24, 80, 91}, {16, 20, 80, 91},
                                          {16, 24, 80, 90}, {16, 24, 79, 91}, {16, 20, 80, 92}};
        row("frmIvn01", qPrintable(u"imgIcon_%1"_s.arg(i)), portraits[i], nullptr, 0, false, false);
    }
}

void TestLayout::row(const char *window, const char *control, QRect rect, const char *face, int pixels, bool bold,
                     bool sizedToFit)
{
    QTest::addRow("%s/%s", window, control)
        << QString::fromLatin1(window) << QString::fromLatin1(control) << rect
        << (face ? QString::fromLatin1(face) : QString()) << pixels << bold << sizedToFit;
}

void TestLayout::controls()
{
    QFETCH(QString, windowName);
    QFETCH(QString, controlName);
    QFETCH(QRect, rect);
    QFETCH(QString, face);
    QFETCH(int, pixels);
    QFETCH(bool, bold);
    QFETCH(bool, sizedToFit);

    QWidget *control = window(windowName)->findChild<QWidget *>(controlName);
    QVERIFY2(control != nullptr, qPrintable(controlName));
    // Inside a frame, places count from the frame's inner corner, inside its border.
    const auto *frame = qobject_cast<const QFrame *>(control->parentWidget());
    const QPoint origin = frame ? frame->contentsRect().topLeft() : QPoint();
    if (sizedToFit) {
        QCOMPARE(control->pos() - origin, rect.topLeft());
        QCOMPARE(control->size(), control->sizeHint());
    } else {
        QCOMPARE(control->geometry().translated(-origin), rect);
    }
    if (face.isEmpty())
        return;
    control->ensurePolished();
    const QFontInfo info(control->font());
    QCOMPARE(info.family(), face);
    QCOMPARE(info.pixelSize(), pixels);
    QCOMPARE(info.bold(), bold);
}

void TestLayout::tabOrder_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("order");   // from the control that holds the focus as the window opens

    // The picture boxes of the reels come first and take the focus without
    // showing it; a control shown later (cmdDamy, cmdEnd) joins in its place.
    QTest::newRow("frmMain") << u"frmMain"_s
                             << QStringList{u"picSlot2"_s, u"picSlot1"_s, u"picSlot3"_s, u"cmdStop1"_s,
                                            u"cmdStop2"_s, u"cmdStop3"_s, u"cmdStart"_s};
    QTest::newRow("frmIvn01") << u"frmIvn01"_s << QStringList{u"txtMsg"_s, u"cmdNext"_s};
    QTest::newRow("frmGover1") << u"frmGover1"_s << QStringList{u"cmdEnd"_s, u"cmdReplay"_s};
    QTest::newRow("frmGover2") << u"frmGover2"_s << QStringList{u"cmdEnd"_s, u"cmdReplay"_s};
    QTest::newRow("frmGover3") << u"frmGover3"_s << QStringList{u"cmdEnd"_s, u"cmdReplay"_s};
    QTest::newRow("frmReadme") << u"frmReadme"_s << QStringList{u"cmdClose"_s};
    QTest::newRow("frmVer") << u"frmVer"_s << QStringList{u"cmdClose"_s};
}

void TestLayout::tabOrder()
{
    QFETCH(QString, name);
    QFETCH(QStringList, order);
    // As the window first opens.
    const std::unique_ptr<QWidget> fresh = makeWindow(name, machine_);
    QWidget *w = fresh.get();
    QVERIFY(w != nullptr);
    w->show();
    GameFixture::activate(w);
    QVERIFY(QTest::qWaitForWindowActive(w));

    // Tab goes round the controls in their order and back to the first.
    QStringList visited;
    for (int i = 0; i <= order.size(); ++i) {
        QWidget *focus = QApplication::focusWidget();
        visited << (focus ? focus->objectName() : u"none"_s);
        QTest::keyClick(focus ? focus : w, Qt::Key_Tab);
    }
    w->hide();
    QCOMPARE(visited, order + QStringList{order.first()});
}


void TestLayout::mainWindowStartsAsLaidOut()
{
    frmMain fresh(machine_.platform());
    const auto label = [&](const char *name) { return fresh.findChild<QLabel *>(QString::fromLatin1(name)); };
    const auto button = [&](const char *name) { return fresh.findChild<QPushButton *>(QString::fromLatin1(name)); };
    QCOMPARE(fresh.windowTitle(), u"スロットマシン");
    QCOMPARE(label("lblCount")->text(), u"0");
    QCOMPARE(label("lblNichi")->text(), u"日");
    QCOMPARE(label("lblMsg")->text(), u"５０両 獲得！");
    QCOMPARE(label("lblTensuu")->text(), u"0");
    QCOMPARE(label("lblRyo")->text(), u"両");
    QCOMPARE(button("cmdStart")->text(), u"始");
    QVERIFY(button("cmdDamy")->isHidden());
    QVERIFY(label("lblMsg")->isHidden());
    for (const char *name : {"lblCount", "lblNichi", "lblTensuu", "lblRyo", "picSlot1", "picSlot2", "picSlot3",
                             "cmdStart", "cmdStop1", "cmdStop2", "cmdStop3"})
        QVERIFY2(!fresh.findChild<QWidget *>(QString::fromLatin1(name))->isHidden(), name);
    for (const char *name : {"cmdStop1", "cmdStop2", "cmdStop3", "cmdDamy"})
        QCOMPARE(button(name)->text(), QString());
    for (const char *name : {"picSlot1", "picSlot2", "picSlot3"})
        QVERIFY(label(name)->pixmap().isNull());
    // Right-aligned digits of one width: the amounts never shift the units.
    QCOMPARE(label("lblTensuu")->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    const QFontMetrics money(label("lblTensuu")->font());
    for (QChar digit : u"-123456789"_s)
        QCOMPARE(money.horizontalAdvance(digit), money.horizontalAdvance(u'0'));
    QVERIFY(!fresh.findChild<QTimer *>(u"Timer1"_s)->isActive());
}

void TestLayout::menus()
{
    const QList<QAction *> menus = main_->menuBar()->actions();
    QCOMPARE(menus.size(), 2);
    QCOMPARE(menus[0]->text(), u"ファイル(&F)");
    QCOMPARE(menus[1]->text(), u"ヘルプ(&H)");
    const auto items = [](QAction *menu) {
        QStringList texts;
        for (QAction *item : menu->menu()->actions()) {
            const bool plain = item->shortcut().isEmpty() && !item->isCheckable() && !item->isSeparator()
                && item->isEnabled() && item->isVisible();
            texts << item->objectName() + u'=' + item->text() + (plain ? u""_s : u" (not plain)"_s);
        }
        return texts;
    };
    QCOMPARE(items(menus[0]), QStringList{u"mnuExit=終了(&X)"_s});
    QCOMPARE(items(menus[1]), (QStringList{u"mnuReadme=ゲームの説明(&R)"_s, u"mnuVer=バージョン情報(&A)"_s}));
}

void TestLayout::reelWindowsShowFramesUnscaledWithAStripOfGround()
{
    frmMain fresh(machine_.platform());
    fresh.show();
    // Turn the reels once so that they hold pictures.
    QMetaObject::invokeMethod(&fresh, "cmdStart_Click", Qt::DirectConnection);
    QMetaObject::invokeMethod(&fresh, "Timer1_Timer", Qt::DirectConnection);
    QMetaObject::invokeMethod(&fresh, "Timer1_Timer", Qt::DirectConnection);
    auto *reel = fresh.findChild<QLabel *>(u"picSlot1"_s);
    QCOMPARE(reel->pixmap().deviceIndependentSize(), QSizeF(32, 32));
    const QImage shot = reel->grab().toImage();
    const qreal ratio = shot.devicePixelRatio();
    const QColor ground = reel->palette().color(QPalette::Base);
    // Inner area 34 x 34 inside a one-pixel border: the frame sits at the top
    // left, two pixels of ground remain at the right and at the bottom.
    for (int i = 1; i <= 34; ++i) {
        for (int strip : {33, 34}) {
            QCOMPARE(shot.pixelColor(int(strip * ratio), int(i * ratio)), ground);
            QCOMPARE(shot.pixelColor(int(i * ratio), int(strip * ratio)), ground);
        }
    }
}

void TestLayout::noTextRendersAsEmptyBoxes()
{
    QStringList failures;
    const auto check = [&](const QString &where, const QString &text, const QFont &font) {
        if (!text.isEmpty() && !missingGlyphs(text, font).isEmpty())
            failures << where + u": "_s + text;
    };
    std::vector<QWidget *> windows{main_.get()};
    for (const auto &w : others_)
        windows.push_back(w.get());
    for (QWidget *w : windows) {
        check(w->objectName() + u" title"_s, w->windowTitle(), QApplication::font("QMdiSubWindowTitleBar"));
        for (QLabel *label : w->findChildren<QLabel *>())
            check(label->objectName(), label->text(), label->font());
        for (QAbstractButton *button : w->findChildren<QAbstractButton *>())
            check(button->objectName(), button->text(), button->font());
    }
    for (QAction *menu : main_->menuBar()->actions()) {
        check(u"menu"_s, withoutMnemonic(menu->text()), main_->menuBar()->font());
        for (QAction *item : menu->menu()->actions())
            check(item->objectName(), withoutMnemonic(item->text()), menu->menu()->font());
    }
    // Texts the windows are given while playing.
    const QFont messageFont = window(u"frmIvn01"_s)->findChild<QTextEdit *>(u"txtMsg"_s)->font();
    const QFont nameFont = window(u"frmIvn01"_s)->findChild<QLabel *>(u"lblName"_s)->font();
    for (const VisitorEvent &event : eventTable()) {
        check(u"txtMsg"_s, messageOf(event), messageFont);
        check(u"lblName"_s, speakerOf(event), nameFont);
    }
    const QFont winFont = main_->findChild<QLabel *>(u"lblMsg"_s)->font();
    for (const char *symbol : {"a", "b", "c", "d"})
        check(u"lblMsg"_s, messageOf(payoutFor(QString::fromLatin1(symbol))), winFont);
    check(u"lblTensuu"_s, u"-0123456789"_s, main_->findChild<QLabel *>(u"lblTensuu"_s)->font());
    check(u"lblPassWord"_s, u"0123456789"_s, window(u"frmGover1"_s)->findChild<QLabel *>(u"lblPassWord"_s)->font());
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join(u"; "_s)));
}

void TestLayout::fixedTextsFitTheirControls()
{
    QStringList failures;
    std::vector<QWidget *> windows{main_.get()};
    for (const auto &w : others_)
        windows.push_back(w.get());
    for (QWidget *w : windows) {
        for (QLabel *label : w->findChildren<QLabel *>()) {
            if (label->text().isEmpty())
                continue;
            const QFontMetrics metrics(label->font());
            const QRect room = label->contentsRect();
            const QSize needed = inkSize(*label);
            // Glyph bounds are rounded outwards to whole pixels: one pixel is no clipping.
            if (needed.width() > room.width() + 1 || needed.height() > room.height() + 1)
                failures << u"%1/%2 needs %3x%4 in %5x%6"_s.arg(w->objectName(), label->objectName())
                                .arg(needed.width()).arg(needed.height()).arg(room.width()).arg(room.height());
        }
    }
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join(u"; "_s)));
}

void TestLayout::textsFitInEitherLanguage_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<Language>("language");
    for (const char *name : {"frmMain", "frmIvn01", "frmGover1", "frmGover2", "frmGover3", "frmSplash", "frmReadme", "frmVer"}) {
        QTest::addRow("%s ja", name) << QString::fromLatin1(name) << Language::Japanese;
        QTest::addRow("%s en", name) << QString::fromLatin1(name) << Language::English;
    }
}

void TestLayout::textsFitInEitherLanguage()
{
    QFETCH(QString, name);
    QFETCH(Language, language);
    // The windows keep their Japanese layout in every language: a text may
    // not outgrow its control, nor take more lines than the Japanese does.
    useLanguage(Language::Japanese);
    std::map<QString, int> japaneseLines;
    const auto japanese = makeWindow(name, machine_);
    for (const QLabel *label : japanese->findChildren<QLabel *>())
        japaneseLines[label->objectName()] = linesOf(*label);
    useLanguage(language);
    const auto shown = makeWindow(name, machine_);
    shown->show();
    QStringList failures;
    for (const QLabel *label : shown->findChildren<QLabel *>()) {
        if (label->text().isEmpty())
            continue;
        if (!missingGlyphs(label->text(), label->font()).isEmpty())
            failures << label->objectName() + u" cannot draw "_s + label->text();
        const QSize needed = inkSize(*label);
        const QRect room = label->contentsRect();
        if (needed.width() > room.width() + 1 || needed.height() > room.height() + 1)
            failures << u"%1 \"%2\" needs %3x%4 in %5x%6"_s.arg(label->objectName(), label->text())
                            .arg(needed.width()).arg(needed.height()).arg(room.width()).arg(room.height());
        if (linesOf(*label) > japaneseLines[label->objectName()])
            failures << u"%1 wraps: %2 lines"_s.arg(label->objectName()).arg(linesOf(*label));
    }
    // The stop buttons' caption is given while the reels turn.
    const auto fits = [&](QPushButton *button, const QString &text) {
        const QFontMetrics metrics = button->fontMetrics();
        const QSize needed(metrics.horizontalAdvance(withoutMnemonic(text)), metrics.tightBoundingRect(text).height());
        if (!missingGlyphs(text, button->font()).isEmpty())
            failures << button->objectName() + u" cannot draw "_s + text;
        if (needed.width() > textRoom(*button).width() || needed.height() > button->height())
            failures << u"%1 \"%2\" needs %3x%4 in %5x%6"_s.arg(button->objectName(), text).arg(needed.width())
                            .arg(needed.height()).arg(textRoom(*button).width()).arg(button->height());
    };
    for (QPushButton *button : shown->findChildren<QPushButton *>())
        fits(button, button->text().isEmpty() ? frmMain::tr("止") : button->text());
    // The texts of the rules' tables, shown one after another where they go.
    if (auto *visitor = qobject_cast<frmIvn01 *>(shown.get())) {
        auto *message = visitor->findChild<QTextEdit *>(u"txtMsg"_s);
        auto *speaker = visitor->findChild<QLabel *>(u"lblName"_s);
        for (const VisitorEvent &event : eventTable()) {
            visitor->setMessage(messageOf(event));
            visitor->setName(speakerOf(event));
            if (message->verticalScrollBar()->maximum() != 0)
                failures << u"txtMsg scrolls for %1"_s.arg(speakerOf(event));
            if (inkSize(*speaker).width() > speaker->contentsRect().width() + 1)
                failures << u"lblName \"%1\" is too wide"_s.arg(speakerOf(event));
        }
    }
    if (name == u"frmMain") {
        auto *win = shown->findChild<QLabel *>(u"lblMsg"_s);
        for (const PayLine &line : payLines()) {
            win->setText(messageOf(line.payout));
            if (inkSize(*win).width() > win->contentsRect().width() + 1)
                failures << u"lblMsg \"%1\" is too wide"_s.arg(win->text());
        }
    }
    useLanguage(Language::Japanese);
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join(u"; "_s)));
}

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
