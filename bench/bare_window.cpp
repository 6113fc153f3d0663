// The reference for the benchmarks: an empty window of the utility's size and
// title. Two variants tell apart costs that any such window would have:
//   bare_window text    adds one label, so the font system starts up too;
//   bare_window timer   adds a 25 ms timer that does nothing.
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
    }
    window.show();
    return app.exec();
}
