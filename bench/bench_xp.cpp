// The flat button's hover: one enter-leave cycle (a move over it, the timer's tick finding the
// pointer away, MouseOut, the resting look, each look painted) against a QPushButton's hover
// enter and leave repaints; a check box toggled and an option selected by a click, repainted,
// against QCheckBox and QRadioButton; and what ten buttons cost while the pointer is elsewhere
// (timer events per second, against ten QPushButtons).

#include "BenchUtil.h"

#include "controls/xp/xpcheckbox.h"
#include "controls/xp/xpcmdbutton.h"
#include "controls/xp/xpoptionbutton.h"
#include "host/services/Services.h"
#include "host/widgets/HoverTimer.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHoverEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <memory>

namespace {

constexpr int Cycles = 500;

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QPoint pointer(-500, -500);
    host::services().cursorPos = [&pointer] { return pointer; };

    QWidget ourWindow;
    ourWindow.resize(200, 60);
    auto* cmd = host::UserControl::create<Kv_CTRL::xpcmdbutton>(&ourWindow, QStringLiteral("cmd"));
    cmd->putref_Font(host::StdFont::create(QStringLiteral("MS Sans Serif"), 8.25));
    cmd->put_Caption(QStringLiteral("&Salvar"));
    cmd->setGeometry(10, 10, 80, 25);
    QWidget twinWindow;
    twinWindow.resize(200, 60);
    auto* push = new QPushButton(QStringLiteral("&Salvar"), &twinWindow);
    push->setGeometry(10, 10, 80, 25);
    push->setAttribute(Qt::WA_Hover);
    ourWindow.show();
    twinWindow.show();
    QApplication::processEvents();

    const QPointF inside(20, 12);
    int outs = 0;
    QObject::connect(cmd, &Kv_CTRL::xpcmdbutton::MouseOut, cmd, [&outs] { ++outs; });
    bench::compare(
        "xpcmdbutton_hover_cycle", 1.5,
        [&] {
            for (int i = 0; i < Cycles; ++i) {
                QMouseEvent move(QEvent::MouseMove, inside, cmd->mapToGlobal(inside), Qt::NoButton,
                                 Qt::NoButton, Qt::NoModifier);
                QApplication::sendEvent(cmd, &move);
                cmd->repaint();
                host::HoverTimer::tickAll(); // the pointer is away: MouseOut, resting look
                cmd->repaint();
            }
        },
        [&] {
            for (int i = 0; i < Cycles; ++i) {
                QHoverEvent enter(QEvent::HoverEnter, inside, inside, QPointF(-1, -1));
                QApplication::sendEvent(push, &enter);
                push->repaint();
                QHoverEvent leave(QEvent::HoverLeave, QPointF(-1, -1), QPointF(-1, -1), inside);
                QApplication::sendEvent(push, &leave);
                push->repaint();
            }
        });
    if (outs != Cycles * 8) std::printf("warning: %d MouseOut for %d cycles\n", outs, Cycles * 8);

    // A click (press, release) that toggles or selects, and the repaint that shows it.
    auto clickAndPaint = [](QWidget* w) {
        const QPointF at(5, 5);
        QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &release);
        w->repaint();
    };
    auto* chk = host::UserControl::create<Kv_CTRL::xpcheckbox>(&ourWindow, QStringLiteral("chk"));
    chk->setGeometry(100, 10, 90, 17);
    auto* qchk = new QCheckBox(QStringLiteral("Cliente ativo"), &twinWindow);
    qchk->setGeometry(100, 10, 90, 17);
    QWidget ourGroup(&ourWindow), twinGroup(&twinWindow);
    ourGroup.setGeometry(0, 30, 200, 30);
    twinGroup.setGeometry(0, 30, 200, 30);
    Kv_CTRL::xpoptionbutton* opt[2];
    QRadioButton* radio[2];
    for (int i = 0; i < 2; ++i) {
        opt[i] = host::UserControl::create<Kv_CTRL::xpoptionbutton>(&ourGroup,
                                                                    QStringLiteral("opt%1").arg(i));
        opt[i]->setGeometry(i * 100, 5, 90, 17);
        radio[i] = new QRadioButton(QStringLiteral("Pessoa %1").arg(i), &twinGroup);
        radio[i]->setGeometry(i * 100, 5, 90, 17);
    }
    ourGroup.show();
    twinGroup.show();
    QApplication::processEvents();
    bench::compare(
        "xpcheckbox_click_toggle", 1.5,
        [&] {
            for (int i = 0; i < Cycles; ++i)
                clickAndPaint(chk);
        },
        [&] {
            for (int i = 0; i < Cycles; ++i)
                clickAndPaint(qchk);
        });
    bench::compare(
        "xpoptionbutton_click_select", 1.5,
        [&] {
            for (int i = 0; i < Cycles; ++i)
                clickAndPaint(opt[i % 2]);
        },
        [&] {
            for (int i = 0; i < Cycles; ++i)
                clickAndPaint(radio[i % 2]);
        });

    // Idle: ten of each on a window, the pointer away from all of them.
    QWidget idleOurs, idleTwin;
    QList<Kv_CTRL::xpcmdbutton*> ten;
    for (int i = 0; i < 10; ++i) {
        auto* b = host::UserControl::create<Kv_CTRL::xpcmdbutton>(&idleOurs,
                                                                  QStringLiteral("cmd%1").arg(i));
        ten << b;
        b->setGeometry(10 + (i % 5) * 90, 10 + (i / 5) * 30, 80, 25);
        auto* q = new QPushButton(QStringLiteral("Botão %1").arg(i), &idleTwin);
        q->setGeometry(10 + (i % 5) * 90, 10 + (i / 5) * 30, 80, 25);
        q->setAttribute(Qt::WA_Hover);
    }
    idleOurs.show();
    idleTwin.show();
    QApplication::processEvents();
    idleTwin.hide();
    const double ours = bench::idleTimerEvents(1000);
    idleOurs.hide();
    idleTwin.show();
    const double twin = bench::idleTimerEvents(1000);
    bench::row("xpcmdbutton_idle_timer_events_per_s_10_buttons", ours, twin, "/s", 0,
               bench::Aim::Ours);
    // For scale: all ten just visited, the pointer resting on the first. The other nine stop at
    // their first tick; the first polls on the shared 10 ms clock (100 a second).
    idleTwin.hide();
    idleOurs.show();
    pointer = ten[0]->mapToGlobal(QPoint(20, 12));
    for (auto* b : ten) {
        QMouseEvent move(QEvent::MouseMove, inside, b->mapToGlobal(inside), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(b, &move);
    }
    bench::row("xpcmdbutton_hovered_timer_events_per_s_10_buttons", bench::idleTimerEvents(1000),
               0, "/s", 0);
    return 0;
}
