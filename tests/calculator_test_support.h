// Helpers for driving TForm1 in tests: run a handler as a click and collect the Result lines
// it appended and the errors it reported; build expected cell rows.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "form.h"

struct Session {
    TForm1 form;
    std::vector<std::string> errors;

    void SetA(Lines lines) { form.RichEdit1 = std::move(lines); }
    void SetB(Lines lines) { form.RichEdit2 = std::move(lines); }

    // Runs the handler like a click; returns the Result lines it added.
    Lines Click(void (TForm1::*handler)()) {
        const std::size_t before = form.RichEdit3.size();
        Dispatch(form, handler, [&](const std::string& m) { errors.push_back(m); });
        return Lines(form.RichEdit3.begin() + static_cast<std::ptrdiff_t>(before),
                     form.RichEdit3.end());
    }
};

// One row of cells: each text right-aligned in 10 characters after one blank.
inline std::string Cells(std::initializer_list<const char*> texts) {
    std::string line;
    for (const char* t : texts) {
        std::string s(t);
        line += ' ';
        if (s.size() < 10) line.append(10 - s.size(), ' ');
        line += s;
    }
    return line;
}

// The value line of a scalar result: three blanks and the 10-character field.
inline std::string ScalarLine(const char* text) {
    return "  " + Cells({text});
}
