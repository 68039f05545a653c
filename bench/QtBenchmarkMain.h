#pragma once
// The main() of benchmarks that drive the program's windows: a widget
// application with the real services, then Google Benchmark.
#include "platform/Fonts.h"
#include "platform/Services.h"

#include <QApplication>
#include <benchmark/benchmark.h>

inline int runWidgetBenchmarks(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    pel::installFontSubstitutions();
    pel::installSystemServices();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
