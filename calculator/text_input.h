// Reading matrices from box text: the field splitter, the decimal conversion, and the
// counting and parsing of a box (a list of lines).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "matrix.h"

using Lines = std::vector<std::string>;

// Splits one line into fields.  Separators are runs of codes 1..32; a field starting with
// a double quote runs to its closing quote ("" inside stands for one quote; an unclosed
// quote runs to the end of the line) and the next field starts right after the closing
// quote; any other field is a run of the remaining codes.  Calls visit(field) for each
// field in order; visit returns false to stop early.  `scratch` holds unescaped quoted
// fields.
template <typename Visit>
void ForEachField(std::string_view line, std::string& scratch, Visit&& visit);

// Number of fields of one line.
std::int32_t CountFields(std::string_view line);

// Converts a field with the strict grammar: blanks, optional sign, digits with at most one
// decimal separator `sep` (at least one digit), optional exponent (E/e, optional sign,
// digits), blanks.  The result is the nearest 80-bit value; a value below the range becomes
// a denormal or a signed zero.  Returns false for anything else and for a value beyond the
// 80-bit range.
bool TryTextToExtended(std::string_view text, char sep, Extended& value);

// As TryTextToExtended, but throws CalcError("'<text>' is not a valid floating point
// value") on failure.
Extended TextToExtended(std::string_view text, char sep);

// Number of non-empty lines.
std::int32_t CountRows(const Lines& box);
// Number of fields of the last non-empty line; 0 when there is none.
std::int32_t CountCols(const Lines& box);

// Reads lines 0 .. r-1 of `box` by line number and calls store(i, j, value) for each field
// j of line i, in row-major order, right after converting it; store returns false to stop
// the parse.  Before converting any field of a line with more than c fields, throws
// CalcError("Line <i+1> of <boxName> has <n> elements, but the matrix has <c> columns").
// A field that does not convert throws the conversion error.
template <typename Store>
void ParseFields(const Lines& box, std::int32_t r, std::int32_t c, std::string_view boxName,
                 char sep, Store&& store);

// As ParseFields, but every element that no field sets (the rest of a short row, an empty
// line) is passed to store as 0 at its place in row-major order, before the next line is
// read, so an r x c operand is visited completely.
template <typename Store>
void ParseFieldsPadded(const Lines& box, std::int32_t r, std::int32_t c, std::string_view boxName,
                       char sep, Store&& store);

// ParseFields into target (already sized r x c): the target is cleared to 0 first, so
// short rows and blank lines read as zeros.
void ParseMatrix(const Lines& box, std::int32_t r, std::int32_t c, std::string_view boxName,
                 char sep, RCOMat& target);

// Splits a text into box lines at LF (a CR before the LF is dropped).  A final line break
// does not start a new line.
Lines SplitLines(std::string_view text);

#include "text_input_impl.h"
