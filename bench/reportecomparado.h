#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

// The console report, followed by a table that sets each case's program side
// ("caso/tarvo") beside its raw side ("caso/sqlite"): medians and their ratio.
class ReporteComparado : public benchmark::ConsoleReporter {
public:
    using benchmark::ConsoleReporter::ConsoleReporter;

    void ReportRuns(const std::vector<Run>& corridas) override;
    void imprimirComparacion() const;

private:
    // Seconds per iteration, wall clock and processor.
    struct Tiempos {
        std::vector<double> real, cpu;
        double medianaReal = -1, medianaCpu = -1; // from the aggregate when reported
    };
    static double mediana(std::vector<double> v, double agregada);

    std::map<std::string, Tiempos> tiempos_;
};
