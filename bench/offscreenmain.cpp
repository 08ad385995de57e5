// The entry of the benchmarks that drive Pellion's own windows: offscreen
// unless a platform is chosen (a real display can be asked for with
// QT_QPA_PLATFORM=xcb), under the program's own application name so the
// windows find their settings and titles as in the program.

#include <QApplication>

#include <benchmark/benchmark.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pellion"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
