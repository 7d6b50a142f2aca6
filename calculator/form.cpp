// TForm1: start values, the dispatcher, the echo commands, the precision box and Clear.
#include "form.h"

#include <new>

#include "commands.h"
#include "fp_guard.h"
#include "number_format.h"

TForm1::TForm1() {
    FormCreate();
}

void TForm1::FormCreate() {
    RichEdit3.clear();
    RichEdit1 = {"1 0 0", "0 1 0", "0 0 1"};
    RichEdit2 = RichEdit1;
    ResultKind = 0;
    ResultScalar = 0;
    Coefficient = 1;
    DimRows = 0;
    DimCols = 0;
    PrecisionScale = 1000;
}

bool Dispatch(TForm1& form, void (TForm1::*handler)(), const ErrorSink& report) {
    return Dispatch([&] { (form.*handler)(); }, report);
}

bool Dispatch(const std::function<void()>& action, const ErrorSink& report) {
    ClearFloatingPoint();
    try {
        action();
        return true;
    } catch (const CalcError& e) {
        report(e.message() + ".");
    } catch (const std::bad_alloc&) {
        report("Out of memory.");
    }
    return false;
}

void TForm1::ComboBox1Change() {
    ClearFloatingPoint();
    const Extended scale = PrecisionScaleFromText(ComboBox1, DecimalSeparator);
    CheckFloatingPoint();
    PrecisionScale = scale;
}

void TForm1::Clear1Click() {
    RichEdit3.clear();
}
