// TForm1: the calculator core.  It holds the boxes as plain line lists, the coefficient and
// precision texts, the unit-level matrices and the result store, and every handler.  It has
// no Qt: the window and the batch tool copy their inputs into it, run a handler through
// Dispatch(), and show the Result lines it produced.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "matrix.h"
#include "phase_timer.h"
#include "text_input.h"

class TForm1 {
  public:
    TForm1();  // runs FormCreate

    // ---- boxes ----
    Lines RichEdit1;              // matrix A
    Lines RichEdit2;              // matrix B
    Lines RichEdit3;              // the Result box
    std::string Edit1 = "1";      // coefficient x
    std::string ComboBox1 = "3";  // precision
    char DecimalSeparator = '.';  // of input and output alike

    // ---- result store ----
    std::int32_t ResultKind = 0;  // 0 matrix, 1 scalar, 2 dimension, 3 QR, 4 LU, 5 Cholesky,
                                  // 6 SVD, 7 eigenvalues
    std::int32_t ResultRows = 0;
    std::int32_t ResultCols = 0;
    RCOMat ResultMatrix, ResultMatrix2, ResultMatrix3;
    Extended ResultScalar = 0;
    std::int32_t DimRows = 0, DimCols = 0;
    std::vector<double> EigenRe, EigenIm;

    // ---- operands and working data ----
    RCOMat OperandA, OperandB, WorkMatrix;
    matrx2 EigenWork;
    Extended Coefficient = 1;
    Extended PrecisionScale = 1000;

    // ---- start, display, formatting ----
    void FormCreate();
    void ShowResult();
    std::string FormatNumber(Extended x) const;

    // ---- Result box writing ----
    void AppendLine(std::string line) { RichEdit3.push_back(std::move(line)); }
    void ExtendLastLine(std::string_view text);

    // ---- handlers ----
    void SpeedButton1Click();   // A
    void SpeedButton2Click();   // A'
    void SpeedButton4Click();   // A+B
    void SpeedButton5Click();   // B
    void SpeedButton6Click();   // inv(A)
    void SpeedButton7Click();   // B'
    void SpeedButton8Click();   // inv(B)
    void SpeedButton9Click();   // A-B
    void SpeedButton10Click();  // Max(A)
    void SpeedButton11Click();  // Min(A)
    void SpeedButton12Click();  // Max(B)
    void SpeedButton13Click();  // Min(B)
    void SpeedButton14Click();  // Norm(A)
    void SpeedButton15Click();  // Norm(B)
    void SpeedButton16Click();  // A*x
    void SpeedButton17Click();  // B*x
    void SpeedButton18Click();  // A*B
    void SpeedButton19Click();  // Dim(A)
    void SpeedButton20Click();  // Dim(B)
    void SpeedButton21Click();  // A&B
    void SpeedButton22Click();  // A|B
    void SpeedButton23Click();  // A#B
    void SpeedButton24Click();  // Trace(A)
    void SpeedButton25Click();  // Trace(B)
    void SpeedButton26Click();  // QR(A)
    void SpeedButton27Click();  // A^(n)
    void SpeedButton28Click();  // QR(B)
    void SpeedButton29Click();  // LU(A)
    void SpeedButton30Click();  // LU(B)
    void SpeedButton31Click();  // Chol(A)
    void SpeedButton32Click();  // Det(A)
    void SpeedButton33Click();  // Eig(A)
    void SpeedButton34Click();  // Rank(A)
    void SpeedButton35Click();  // Rank(B)
    void SpeedButton36Click();  // Chol(B)
    void SpeedButton37Click();  // Det(B)
    void SpeedButton38Click();  // A/B
    void SpeedButton39Click();  // A.*B
    void SpeedButton40Click();  // A./B
    void SpeedButton41Click();  // Svd(A)
    void SpeedButton42Click();  // Svd(B)
    void SpeedButton43Click();  // Eig(B)
    void SpeedButton44Click();  // B^(n)
    void SpeedButton49Click();  // AuTo
    void ComboBox1Change();
    void Clear1Click();  // empties the Result box

    // Called by the automatic run when it starts and when it ends, however it ends (the
    // window shows the busy cursor in between).
    std::function<void(bool busy)> OnBusyChanged;

    // When set, the time spent reading boxes and printing results is added to it.
    PhaseTimes* Profile = nullptr;

  private:
    void EchoCommand(bool onB);
    void PowerCommand(bool onB);
    enum class Pairwise { Add, Subtract, And, Or, Xor };
    void PairwiseCommand(Pairwise op);
    void ArrayCommand(bool divide);
    void ProductCommand();
    void DivideCommand();
};

// Runs one handler as the platform's top-level handler would: floating-point flags are
// cleared first; a CalcError (or running out of memory) ends the handler and its message
// plus "." goes to `report`.  Returns false when an error was reported.
using ErrorSink = std::function<void(const std::string& message)>;
bool Dispatch(const std::function<void()>& action, const ErrorSink& report);
bool Dispatch(TForm1& form, void (TForm1::*handler)(), const ErrorSink& report);
