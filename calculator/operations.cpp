// Placeholder handlers (replaced by the operation commands).
#include "form.h"
#include "fp_guard.h"

void TForm1::EchoCommand(bool onB) {
    const Lines& box = onB ? RichEdit2 : RichEdit1;
    ResultKind = 0;
    AppendLine(onB ? "B" : "A");
    const std::int32_t r = CountRows(box), c = CountCols(box);
    ResultRows = r;
    ResultCols = c;
    SetSize(ResultMatrix, r, c);
    ParseMatrix(box, r, c, onB ? "Matrix(B)" : "Matrix(A)", DecimalSeparator, ResultMatrix);
    ShowResult();
}

void TForm1::SpeedButton1Click() { EchoCommand(false); }
void TForm1::SpeedButton5Click() { EchoCommand(true); }
#define QM_PENDING(n) \
    void TForm1::SpeedButton##n##Click() { throw CalcError("Not built yet"); }
QM_PENDING(2) QM_PENDING(4) QM_PENDING(6) QM_PENDING(7) QM_PENDING(8) QM_PENDING(9)
QM_PENDING(10) QM_PENDING(11) QM_PENDING(12) QM_PENDING(13) QM_PENDING(14) QM_PENDING(15)
QM_PENDING(16) QM_PENDING(17) QM_PENDING(18) QM_PENDING(19) QM_PENDING(20) QM_PENDING(21)
QM_PENDING(22) QM_PENDING(23) QM_PENDING(24) QM_PENDING(25) QM_PENDING(26) QM_PENDING(27)
QM_PENDING(28) QM_PENDING(29) QM_PENDING(30) QM_PENDING(31) QM_PENDING(32) QM_PENDING(33)
QM_PENDING(34) QM_PENDING(35) QM_PENDING(36) QM_PENDING(37) QM_PENDING(38) QM_PENDING(39)
QM_PENDING(40) QM_PENDING(41) QM_PENDING(42) QM_PENDING(43) QM_PENDING(44) QM_PENDING(49)
