// The reference for the benchmarks: an empty window of the utility's size and
// title. Variants tell apart costs that any such window would have:
//   bare_window text    adds one label, so the font system starts up too;
//   bare_window timer   adds a 25 ms timer that does nothing;
//   bare_window label   moves one label by a pixel every 25 ms across the
//                       window, as the sample messages move at speed 1.
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QString variant = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    QWidget window;
    window.setWindowTitle(QStringLiteral("Trelvane Configuration Utility"));
    window.setFixedSize(668, 530);
    if (variant == QLatin1String("text"))
        (new QLabel(QStringLiteral("Message 1"), &window))->move(312, 344);
    QTimer timer;
    if (variant == QLatin1String("timer")) {
        QObject::connect(&timer, &QTimer::timeout, &window, [] {});
        timer.start(25);
    } else if (variant == QLatin1String("label")) {
        auto *label = new QLabel(QStringLiteral("Message 1"), &window);
        label->move(520, 344);
        QObject::connect(&timer, &QTimer::timeout, label,
                         [label] { label->move(label->x() > 160 ? label->x() - 1 : 520, label->y()); });
        timer.start(25);
    }
    window.show();
    return app.exec();
}
