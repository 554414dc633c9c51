#pragma once

#include <cstddef>
#include <cstdint>

// What each fuzz target does with one input. The libFuzzer targets and the
// regression test of the normal build call the same functions, so an input
// that once broke the program is run again by every build.
namespace entradas {

// A whole word-processing package (the bytes of a zip file): opened, every
// bookmark filled, tables deleted and the result saved, as a quote's save does.
void paqueteDocumento(const std::uint8_t* datos, std::size_t tamano);
// The main document part of the real quote template, replaced by the input
// and driven as above.
void parteDocumento(const std::uint8_t* datos, std::size_t tamano);
// The template check over a package.
void comprobacionPlantilla(const std::uint8_t* datos, std::size_t tamano);
// The SQL dialect: the rewrite, a statement run on an in-memory connection
// with the dialect's functions, and those functions over arbitrary values.
void dialectoSql(const std::uint8_t* datos, std::size_t tamano);
// Typed and imported values: numbers, quantities, dates, yes/no, the export
// encoder and the password encoding.
void valores(const std::uint8_t* datos, std::size_t tamano);
// The data environment's SHAPE commands.
void forma(const std::uint8_t* datos, std::size_t tamano);

// Prepares what the entries share (an application object, a silent message
// service); called once before the first input.
void preparar();

} // namespace entradas
