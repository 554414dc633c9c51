#include "reportecomparado.h"

#include <algorithm>
#include <cstdio>
#include <set>

void ReporteComparado::ReportRuns(const std::vector<Run>& corridas) {
    for (const Run& r : corridas) {
        if (r.error_occurred)
            continue;
        const double escala = benchmark::GetTimeUnitMultiplier(r.time_unit);
        Tiempos& t = tiempos_[r.run_name.function_name];
        if (r.run_type == Run::RT_Iteration) {
            t.real.push_back(r.GetAdjustedRealTime() / escala);
            t.cpu.push_back(r.GetAdjustedCPUTime() / escala);
        } else if (r.aggregate_name == "median") {
            t.medianaReal = r.GetAdjustedRealTime() / escala;
            t.medianaCpu = r.GetAdjustedCPUTime() / escala;
        }
    }
    benchmark::ConsoleReporter::ReportRuns(corridas);
}

double ReporteComparado::mediana(std::vector<double> v, double agregada) {
    if (agregada >= 0)
        return agregada;
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    const size_t m = v.size() / 2;
    return v.size() % 2 ? v[m] : (v[m - 1] + v[m]) / 2;
}

void ReporteComparado::imprimirComparacion() const {
    std::set<std::string> casos;
    for (const auto& [nombre, t] : tiempos_) {
        const auto barra = nombre.rfind('/');
        if (barra != std::string::npos)
            casos.insert(nombre.substr(0, barra));
    }
    std::printf(
        "\nMedianas en ms          ---------- real ----------   ---------- CPU -----------\n");
    std::printf("%-22s %10s %10s %6s   %10s %10s %6s\n", "caso", "tarvo", "sqlite", "razón",
                "tarvo", "sqlite", "razón");
    auto celda = [](double s) {
        char texto[32];
        std::snprintf(texto, sizeof texto, s < 0 ? "-" : "%.3f", s * 1000.0);
        return std::string(texto);
    };
    auto razon = [](double a, double b) {
        char texto[32];
        std::snprintf(texto, sizeof texto, a > 0 && b > 0 ? "%.2fx" : "-", a / b);
        return std::string(texto);
    };
    const Tiempos vacio;
    for (const std::string& caso : casos) {
        const auto n = tiempos_.find(caso + "/tarvo");
        const auto c = tiempos_.find(caso + "/sqlite");
        const Tiempos& a = n == tiempos_.end() ? vacio : n->second;
        const Tiempos& b = c == tiempos_.end() ? vacio : c->second;
        const double ar = mediana(a.real, a.medianaReal), br = mediana(b.real, b.medianaReal);
        const double ac = mediana(a.cpu, a.medianaCpu), bc = mediana(b.cpu, b.medianaCpu);
        std::printf("%-22s %10s %10s %6s   %10s %10s %6s\n", caso.c_str(), celda(ar).c_str(),
                    celda(br).c_str(), razon(ar, br).c_str(), celda(ac).c_str(), celda(bc).c_str(),
                    razon(ac, bc).c_str());
    }
}
