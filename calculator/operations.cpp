// The operation commands.  Every command follows one shape: result kind, label line, counts
// of its operand boxes, shape test, result shape, sizing, parse, computation, result test and
// display.  The one-operand commands are data (OneOperandCommand) driving one routine; the
// two-operand commands share the same steps with their own parse of B.
#include <cmath>
#include <cstdint>
#include <string>

#include "form.h"
#include "fp_guard.h"

namespace {

// Largest matrix a command sizes.  Beyond it the command ends with an error instead of
// trying to allocate (and touch) gigabytes for a box whose last line is very long.
constexpr std::int64_t kMaxElements = std::int64_t{1} << 26;

void Size(RCOMat& M, std::int32_t r, std::int32_t c) {
    if (static_cast<std::int64_t>(r) * c > kMaxElements)
        throw CalcError("Not enough memory for a " + std::to_string(r) + " x " + std::to_string(c) +
                        " matrix");
    SetSize(M, r, c);
}

void Size(matrx2& M, std::int32_t r, std::int32_t c) {
    if (static_cast<std::int64_t>(r) * c > kMaxElements)
        throw CalcError("Not enough memory for a " + std::to_string(r) + " x " + std::to_string(c) +
                        " matrix");
    SetSize(M, r, c);
}

void SetIdentity(RCOMat& M, std::int32_t n) {
    for (std::int32_t i = 0; i < n; ++i)
        for (std::int32_t j = 0; j < n; ++j) M[i][j] = i == j ? 1 : 0;
}

// The eps of the singular value iteration's negligibility tests.
constexpr Extended kSvdEps = 1e-15L;

enum class ShapeTest { None, Square, RowsAtLeastCols };

// ResultRows x ResultCols of a one-operand command, from the operand's r x c.
enum class ResultShape { RowsByCols, ColsByRows, RowsByRows };

// What a one-operand command reads: its box, its name in messages, the operand's counts.
struct Operand {
    const Lines& box;
    const char* group;  // "Matrix(A)" / "Matrix(B)"
    bool isB;
    std::int32_t r, c;
};

// A one-operand command as data.  `run` does steps 5 to 10 up to the display: it sets the
// result shape, sizes and parses, computes, and returns false when it stopped with a message
// of its own (the display then does not run).
struct OneOperandCommand {
    std::int32_t kind;
    const char* labelA;
    const char* labelB;
    ShapeTest test;
    const char* messageA;
    const char* messageB;
    bool (*run)(TForm1& f, const Operand& x, const char* label);
    int presetScalar;  // -1 none, else ResultScalar's value before the computation
    ResultShape shape = ResultShape::RowsByCols;
};

void Stop(TForm1& f, const std::string& message) {
    f.AppendLine(message);
    f.AppendLine({});
}

std::string NotConverged(const char* label) {
    return std::string(" Error: To Calculate ") + label + ", the iteration did not converge!";
}

std::chrono::nanoseconds* ParseClock(TForm1& f) {
    return f.Profile ? &f.Profile->parse : nullptr;
}

// Reads a box into `target` (sized r x c by the caller).
void ReadBox(TForm1& f, const Lines& box, std::int32_t r, std::int32_t c, const char* group,
             RCOMat& target) {
    PhaseTimer timer(ParseClock(f));
    ParseMatrix(box, r, c, group, f.DecimalSeparator, target);
}

// Sizes `target` to rows x cols and reads the operand into it.
void SizeAndParse(TForm1& f, const Operand& x, RCOMat& target, std::int32_t rows,
                  std::int32_t cols) {
    Size(target, rows, cols);
    ReadBox(f, x.box, x.r, x.c, x.group, target);
}

// ---- computations of the one-operand commands ----

bool RunTranspose(TForm1& f, const Operand& x, const char*) {
    Size(f.ResultMatrix, x.c, x.r);
    SizeAndParse(f, x, f.WorkMatrix, x.r, x.c);
    MatTranspose(f.WorkMatrix, f.ResultMatrix);
    CheckFloatingPoint();
    return true;
}

bool RunInverse(TForm1& f, const Operand& x, const char* label) {
    Size(f.ResultMatrix, x.r, x.r);
    SizeAndParse(f, x, f.WorkMatrix, x.r, x.r);
    MatInverse(f.WorkMatrix, f.ResultMatrix);
    CheckFloatingPoint();
    if (MatrixError == 3) {
        Stop(f,
             std::string(" Error: To Calculate ") + label + ", the Matrix must not be singular!");
        return false;
    }
    return true;
}

template <Extended (*Reduce)(const RCOMat&)>
bool RunReduce(TForm1& f, const Operand& x, const char*) {
    SizeAndParse(f, x, f.ResultMatrix, x.r, x.c);
    f.ResultScalar = Reduce(f.ResultMatrix);
    CheckFloatingPoint();
    return true;
}

// Singular value decomposition of X into OperandA/OperandB, ResultMatrix2 (U) and
// ResultMatrix3 (V).  An operand without rows or columns gets U = I, S = 0, V = I.
bool Decompose(TForm1& f, const Operand& x, RCOMat& X, const char* label) {
    Size(f.ResultMatrix2, x.r, x.r);
    Size(f.ResultMatrix3, x.c, x.c);
    SizeAndParse(f, x, X, x.r, x.c);
    if (x.r == 0 || x.c == 0) {
        SetIdentity(f.ResultMatrix2, x.r);
        SetIdentity(f.ResultMatrix3, x.c);
        return true;
    }
    const std::int32_t converged = MatSVD(X, f.ResultMatrix2, f.ResultMatrix3, kSvdEps, x.r, x.c);
    CheckFloatingPoint();
    if (converged == 0) {
        Stop(f, NotConverged(label));
        return false;
    }
    return true;
}

bool RunNorm(TForm1& f, const Operand& x, const char* label) {
    RCOMat& X = x.isB ? f.OperandB : f.OperandA;
    if (!Decompose(f, x, X, label)) return false;
    const std::int32_t k = std::min(x.r, x.c);
    for (std::int32_t i = 0; i < k; ++i)
        if (X[i][i] > f.ResultScalar) f.ResultScalar = X[i][i];
    return true;
}

bool RunSvd(TForm1& f, const Operand& x, const char* label) {
    return Decompose(f, x, f.OperandA, label);
}

bool RunScale(TForm1& f, const Operand& x, const char*) {
    Size(f.ResultMatrix, x.r, x.c);
    SizeAndParse(f, x, f.WorkMatrix, x.r, x.c);
    f.Coefficient = TextToExtended(f.Edit1, f.DecimalSeparator);
    MatScale(f.WorkMatrix, f.ResultMatrix, f.Coefficient);
    CheckFloatingPoint();
    return true;
}

bool RunDim(TForm1& f, const Operand& x, const char*) {
    SizeAndParse(f, x, f.ResultMatrix, x.r, x.c);
    MatDims(f.ResultMatrix, f.DimRows, f.DimCols);
    return true;
}

bool RunQR(TForm1& f, const Operand& x, const char*) {
    Size(f.ResultMatrix2, x.r, x.r);
    SizeAndParse(f, x, f.ResultMatrix3, x.r, x.c);
    MatQR(f.ResultMatrix3, x.r, x.c, f.ResultMatrix2);
    CheckFloatingPoint();
    return true;
}

bool RunLU(TForm1& f, const Operand& x, const char*) {
    Size(f.ResultMatrix2, x.r, x.c);
    Size(f.ResultMatrix3, x.r, x.c);
    SizeAndParse(f, x, f.ResultMatrix, x.r, x.c);
    const std::int32_t status = MatLU(f.ResultMatrix, f.ResultMatrix2, f.ResultMatrix3, x.r, x.c);
    CheckFloatingPoint();
    if (status == -1) {
        Stop(f, " Error: To Calculate LU, Matrix must be square!");
        return false;
    }
    if (status == 0) {
        Stop(f, " Error:  Calculate LU failed!");
        return false;
    }
    return true;
}

bool RunCholesky(TForm1& f, const Operand& x, const char*) {
    Size(f.ResultMatrix2, x.r, x.r);
    Size(f.ResultMatrix3, x.r, x.r);
    SizeAndParse(f, x, f.ResultMatrix, x.r, x.r);
    const bool ok = MatCholeskyLDL(f.ResultMatrix, x.r, f.ResultMatrix2, f.ResultMatrix3);
    CheckFloatingPoint();
    if (!ok) {
        Stop(f, " No Cholesky decomposition!");
        return false;
    }
    return true;
}

bool RunDeterminant(TForm1& f, const Operand& x, const char*) {
    SizeAndParse(f, x, f.ResultMatrix, x.r, x.r);
    // An empty operand keeps the preset 1, the determinant of the 0 x 0 matrix.
    if (x.r > 0) f.ResultScalar = MatDeterminant(f.ResultMatrix, x.r);
    CheckFloatingPoint();
    return true;
}

bool RunRank(TForm1& f, const Operand& x, const char*) {
    SizeAndParse(f, x, f.ResultMatrix, x.r, x.c);
    f.ResultScalar = MatRank(f.ResultMatrix, x.r, x.c);
    CheckFloatingPoint();
    return true;
}

bool RunEigen(TForm1& f, const Operand& x, const char* label) {
    const std::int32_t n = x.r;
    Size(f.EigenWork, n + 1, n + 1);
    SetSize(f.EigenRe, n + 1);
    SetSize(f.EigenIm, n + 1);
    for (auto& row : f.EigenWork) std::fill(row.begin(), row.end(), 0.0);
    // The elements are read as extended reals and stored as doubles at [i+1][j+1].
    {
        PhaseTimer timer(ParseClock(f));
        ParseFields(x.box, x.r, x.c, x.group, f.DecimalSeparator,
                    [&](std::int32_t i, std::int32_t j, Extended v) {
                        f.EigenWork[i + 1][j + 1] = static_cast<double>(v);
                        return true;
                    });
    }
    CheckFloatingPoint();  // an element beyond the double range overflows here
    if (n == 0) return true;
    MatBalance(f.EigenWork, n);
    CheckFloatingPoint();
    MatHessenberg(f.EigenWork, n);
    CheckFloatingPoint();
    const bool converged = MatHessenbergEigen(f.EigenWork, n, f.EigenRe, f.EigenIm);
    CheckFloatingPoint();
    if (!converged) {
        Stop(f, NotConverged(label));
        return false;
    }
    return true;
}

const OneOperandCommand kTranspose{0,  "A'",         "B'", ShapeTest::None,        "",
                                   "", RunTranspose, -1,   ResultShape::ColsByRows};
const OneOperandCommand kInverse{0,
                                 "inv(A)",
                                 "inv(B)",
                                 ShapeTest::Square,
                                 " Error: To Calculate inv(A), the Matrix must be square!",
                                 " Error: To Calculate inv(B), the Matrix must be square!",
                                 RunInverse,
                                 -1};
const OneOperandCommand kMax{1, "Max(A)", "Max(B)", ShapeTest::None, "", "", RunReduce<MatMax>, -1};
const OneOperandCommand kMin{1, "Min(A)", "Min(B)", ShapeTest::None, "", "", RunReduce<MatMin>, -1};
const OneOperandCommand kTrace{1,  "Trace(A)", "Trace(B)",          ShapeTest::None,
                               "", "",         RunReduce<MatTrace>, -1};
const OneOperandCommand kNorm{1, "Norm(A)", "Norm(B)", ShapeTest::None, "", "", RunNorm, 0};
const OneOperandCommand kScale{0, "A*x", "B*x", ShapeTest::None, "", "", RunScale, -1};
const OneOperandCommand kDim{2, "Dim(A)", "Dim(B)", ShapeTest::None, "", "", RunDim, -1};
const OneOperandCommand kQR{3,
                            "QR(A)",
                            "QR(B)",
                            ShapeTest::RowsAtLeastCols,
                            " Error: To Calculate QR, Row>=Col!",
                            " Error: To Calculate QR, Row>=Col!",
                            RunQR,
                            -1};
const OneOperandCommand kLU{4, "LU(A)", "LU(B)", ShapeTest::None, "", "", RunLU, -1};
const OneOperandCommand kCholesky{5,
                                  "Chol(A)",
                                  "Chol(B)",
                                  ShapeTest::Square,
                                  " Error: To Calculate Cholesky, Row=Col!",
                                  " Error: To Calculate Cholesky, Row=Col!",
                                  RunCholesky,
                                  -1};
const OneOperandCommand kDeterminant{1,
                                     "Det(A)",
                                     "Det(B)",
                                     ShapeTest::Square,
                                     " Error: To Calculate Det(A), the Matrix must be square!",
                                     " Error: To Calculate Det(B), the Matrix must be square!",
                                     RunDeterminant,
                                     1};
const OneOperandCommand kRank{1, "Rank(A)", "Rank(B)", ShapeTest::None, "", "", RunRank, 0};
const OneOperandCommand kSvd{6, "Svd(A)", "Svd(B)", ShapeTest::None, "", "", RunSvd, -1};
const OneOperandCommand kEigen{7,
                               "Eig(A)",
                               "Eig(B)",
                               ShapeTest::Square,
                               " Error: To Calculate Eig(A), Row=Col!",
                               " Error: To Calculate Eig(B), Row=Col!",
                               RunEigen,
                               -1};

bool ShapeFits(ShapeTest test, std::int32_t r, std::int32_t c) {
    switch (test) {
        case ShapeTest::Square:
            return r == c;
        case ShapeTest::RowsAtLeastCols:
            return r >= c;
        case ShapeTest::None:
            break;
    }
    return true;
}

void RunOneOperand(TForm1& f, const OneOperandCommand& cmd, bool onB) {
    f.ResultKind = cmd.kind;
    if (cmd.presetScalar >= 0) f.ResultScalar = cmd.presetScalar;
    const char* label = onB ? cmd.labelB : cmd.labelA;
    f.AppendLine(label);
    const Lines& box = onB ? f.RichEdit2 : f.RichEdit1;
    const Operand x{box, onB ? "Matrix(B)" : "Matrix(A)", onB, CountRows(box), CountCols(box)};
    if (!ShapeFits(cmd.test, x.r, x.c)) {
        Stop(f, onB ? cmd.messageB : cmd.messageA);
        return;
    }
    f.ResultRows = cmd.shape == ResultShape::ColsByRows ? x.c : x.r;
    f.ResultCols = cmd.shape == ResultShape::RowsByCols ? x.c : x.r;
    if (cmd.run(f, x, label)) f.ShowResult();
}

}  // namespace

// ---- echo ----

void TForm1::EchoCommand(bool onB) {
    const Lines& box = onB ? RichEdit2 : RichEdit1;
    ResultKind = 0;
    AppendLine(onB ? "B" : "A");
    const std::int32_t r = CountRows(box), c = CountCols(box);
    ResultRows = r;
    ResultCols = c;
    Size(ResultMatrix, r, c);
    ReadBox(*this, box, r, c, onB ? "Matrix(B)" : "Matrix(A)", ResultMatrix);
    ShowResult();
}

// ---- power: x is read before the label line, which shows the exponent ----

void TForm1::PowerCommand(bool onB) {
    ResultKind = 0;
    const Extended x = TextToExtended(Edit1, DecimalSeparator);
    Coefficient = x;
    // Truncation toward zero to a signed 64-bit integer; outside that range it is an
    // invalid operation.  The exponent is the low 32 bits read as a signed number.
    if (!(x > -0x1p63L - 1 && x < 0x1p63L)) throw CalcError("Invalid floating point operation");
    const auto k = static_cast<std::int64_t>(x);
    const auto n = static_cast<std::int32_t>(static_cast<std::uint32_t>(k));
    const std::string name = onB ? "B" : "A";
    const std::string label = name + "^(" + std::to_string(n) + ")";
    AppendLine(label);
    const Lines& box = onB ? RichEdit2 : RichEdit1;
    const std::int32_t r = CountRows(box), c = CountCols(box);
    if (r != c) {
        Stop(*this, " Error: To Calculate " + name + "^x, " + name + " must be square! ");
        return;
    }
    ResultRows = r;
    ResultCols = r;
    RCOMat& X = onB ? OperandB : OperandA;
    Size(X, r, r);
    Size(ResultMatrix, r, r);
    Size(WorkMatrix, r, r);
    ReadBox(*this, box, r, c, onB ? "Matrix(B)" : "Matrix(A)", X);
    const std::int32_t status = MatPower(X, n, WorkMatrix, ResultMatrix);
    CheckFloatingPoint();
    if (n <= -1 && status == 3) {
        Stop(*this, " Error: To Calculate " + label + ", " + name + " must not be singular!");
        return;
    }
    ShowResult();
}

// ---- two-operand commands ----

namespace {

struct Pair {
    std::int32_t rA, cA, rB, cB;
};

Pair CountPair(const TForm1& f) {
    return {CountRows(f.RichEdit1), CountCols(f.RichEdit1), CountRows(f.RichEdit2),
            CountCols(f.RichEdit2)};
}

bool SameDims(const Pair& p) {
    return p.rA == p.rB && p.cA == p.cB;
}

std::string SameDimsMessage(const char* label) {
    return std::string(" Error: To Calculate ") + label +
           ", the two Matrice must be same dimensions!";
}

// The first steps of the commands on two operands of the same shape: kind, label line,
// counts, the same-dimensions test (its message, then `closing` as the next line), result
// shape, sizing, and A read.  Returns false when the shapes differ.
bool StartSameShape(TForm1& f, const char* label, const std::string& message, const char* closing,
                    Pair& p) {
    f.ResultKind = 0;
    f.AppendLine(label);
    p = CountPair(f);
    if (!SameDims(p)) {
        f.AppendLine(message);
        f.AppendLine(closing);
        return false;
    }
    f.ResultRows = p.rA;
    f.ResultCols = p.cA;
    Size(f.OperandA, p.rA, p.cA);
    Size(f.OperandB, p.rA, p.cA);
    Size(f.ResultMatrix, p.rA, p.cA);
    ReadBox(f, f.RichEdit1, p.rA, p.cA, "Matrix(A)", f.OperandA);
    return true;
}

}  // namespace

void TForm1::PairwiseCommand(Pairwise op) {
    static constexpr const char* kLabels[] = {"A+B", "A-B", "A&B", "A|B", "A#B"};
    const char* label = kLabels[static_cast<int>(op)];
    Pair p;
    if (!StartSameShape(*this, label, SameDimsMessage(label), "", p)) return;
    if (op == Pairwise::Subtract) {
        // No subtraction routine: each element of B is negated as it is read, then added.
        for (auto& row : OperandB) std::fill(row.begin(), row.end(), Extended(0));
        PhaseTimer timer(ParseClock(*this));
        ParseFields(RichEdit2, p.rB, p.cB, "Matrix(B)", DecimalSeparator,
                    [&](std::int32_t i, std::int32_t j, Extended v) {
                        OperandB[i][j] = -v;
                        CheckFloatingPoint();
                        return true;
                    });
    } else {
        ReadBox(*this, RichEdit2, p.rB, p.cB, "Matrix(B)", OperandB);
    }
    switch (op) {
        case Pairwise::Add:
        case Pairwise::Subtract:
            MatAdd(OperandA, OperandB, ResultMatrix);
            break;
        case Pairwise::And:
            MatAnd(OperandA, OperandB, ResultMatrix);
            break;
        case Pairwise::Or:
            MatOr(OperandA, OperandB, ResultMatrix);
            break;
        case Pairwise::Xor:
            MatXor(OperandA, OperandB, ResultMatrix);
            break;
    }
    CheckFloatingPoint();
    ShowResult();
}

// A.*B and A./B: each element of B acts right after it is read, in row-major order.
void TForm1::ArrayCommand(bool divide) {
    const char* label = divide ? "A./B" : "A.*B";
    const std::string message =
        std::string(" Error: To Calculate ") + label + ", the two Matrixs must be same dimensions!";
    Pair p;
    // A.*B closes its message with a line holding one blank.
    if (!StartSameShape(*this, label, message, divide ? "" : " ", p)) return;
    bool zero_divisor = false;
    {
        PhaseTimer timer(ParseClock(*this));  // reading B and the element steps interleave
        ParseFieldsPadded(RichEdit2, p.rB, p.cB, "Matrix(B)", DecimalSeparator,
                          [&](std::int32_t i, std::int32_t j, Extended b) {
                              OperandB[i][j] = b;
                              if (divide) {
                                  if (b == 0) {
                                      zero_divisor = true;
                                      return false;
                                  }
                                  ResultMatrix[i][j] = OperandA[i][j] / b;
                              } else {
                                  ResultMatrix[i][j] = OperandA[i][j] * b;
                              }
                              CheckFloatingPoint();
                              return true;
                          });
    }
    if (zero_divisor) {
        Stop(*this, " Error: To Calculate A./B, the Matrix B without 0!");
        return;
    }
    ShowResult();
}

void TForm1::ProductCommand() {
    ResultKind = 0;
    AppendLine("A*B");
    const Pair p = CountPair(*this);
    if (p.cA != p.rB) {
        Stop(*this, " Error: To Calculate A*B, A(Col)=B(Row)!");
        return;
    }
    ResultRows = p.rA;
    ResultCols = p.cB;
    Size(OperandA, p.rA, p.cA);
    Size(OperandB, p.rB, p.cB);
    Size(ResultMatrix, p.rA, p.cB);
    ReadBox(*this, RichEdit1, p.rA, p.cA, "Matrix(A)", OperandA);
    ReadBox(*this, RichEdit2, p.rB, p.cB, "Matrix(B)", OperandB);
    MatMultiply(OperandA, OperandB, ResultMatrix);
    CheckFloatingPoint();
    ShowResult();
}

void TForm1::DivideCommand() {
    ResultKind = 0;
    AppendLine("A/B");
    const Pair p = CountPair(*this);
    if (!(p.rB == p.cA && p.cB == p.rB)) {
        Stop(*this, " Error: To Calculate A/B, B Should be square, and A(Col)=B(Row)!");
        return;
    }
    ResultRows = p.rA;
    ResultCols = p.cA;
    Size(OperandA, p.rA, p.cA);
    Size(OperandB, p.rB, p.rB);
    Size(WorkMatrix, p.rB, p.rB);
    Size(ResultMatrix, p.rA, p.cB);
    ReadBox(*this, RichEdit1, p.rA, p.cA, "Matrix(A)", OperandA);
    ReadBox(*this, RichEdit2, p.rB, p.cB, "Matrix(B)", OperandB);
    MatInverse(OperandB, WorkMatrix);
    CheckFloatingPoint();
    if (MatrixError == 3) {
        Stop(*this, " Error: To Calculate A/B, B must not be singular!");
        return;
    }
    MatMultiply(OperandA, WorkMatrix, ResultMatrix);
    CheckFloatingPoint();
    ShowResult();
}

// ---- handlers ----

void TForm1::SpeedButton1Click() {
    EchoCommand(false);
}
void TForm1::SpeedButton5Click() {
    EchoCommand(true);
}
void TForm1::SpeedButton2Click() {
    RunOneOperand(*this, kTranspose, false);
}
void TForm1::SpeedButton7Click() {
    RunOneOperand(*this, kTranspose, true);
}
void TForm1::SpeedButton6Click() {
    RunOneOperand(*this, kInverse, false);
}
void TForm1::SpeedButton8Click() {
    RunOneOperand(*this, kInverse, true);
}
void TForm1::SpeedButton10Click() {
    RunOneOperand(*this, kMax, false);
}
void TForm1::SpeedButton12Click() {
    RunOneOperand(*this, kMax, true);
}
void TForm1::SpeedButton11Click() {
    RunOneOperand(*this, kMin, false);
}
void TForm1::SpeedButton13Click() {
    RunOneOperand(*this, kMin, true);
}
void TForm1::SpeedButton14Click() {
    RunOneOperand(*this, kNorm, false);
}
void TForm1::SpeedButton15Click() {
    RunOneOperand(*this, kNorm, true);
}
void TForm1::SpeedButton16Click() {
    RunOneOperand(*this, kScale, false);
}
void TForm1::SpeedButton17Click() {
    RunOneOperand(*this, kScale, true);
}
void TForm1::SpeedButton19Click() {
    RunOneOperand(*this, kDim, false);
}
void TForm1::SpeedButton20Click() {
    RunOneOperand(*this, kDim, true);
}
void TForm1::SpeedButton24Click() {
    RunOneOperand(*this, kTrace, false);
}
void TForm1::SpeedButton25Click() {
    RunOneOperand(*this, kTrace, true);
}
void TForm1::SpeedButton26Click() {
    RunOneOperand(*this, kQR, false);
}
void TForm1::SpeedButton28Click() {
    RunOneOperand(*this, kQR, true);
}
void TForm1::SpeedButton29Click() {
    RunOneOperand(*this, kLU, false);
}
void TForm1::SpeedButton30Click() {
    RunOneOperand(*this, kLU, true);
}
void TForm1::SpeedButton31Click() {
    RunOneOperand(*this, kCholesky, false);
}
void TForm1::SpeedButton36Click() {
    RunOneOperand(*this, kCholesky, true);
}
void TForm1::SpeedButton32Click() {
    RunOneOperand(*this, kDeterminant, false);
}
void TForm1::SpeedButton37Click() {
    RunOneOperand(*this, kDeterminant, true);
}
void TForm1::SpeedButton34Click() {
    RunOneOperand(*this, kRank, false);
}
void TForm1::SpeedButton35Click() {
    RunOneOperand(*this, kRank, true);
}
void TForm1::SpeedButton41Click() {
    RunOneOperand(*this, kSvd, false);
}
void TForm1::SpeedButton42Click() {
    RunOneOperand(*this, kSvd, true);
}
void TForm1::SpeedButton33Click() {
    RunOneOperand(*this, kEigen, false);
}
void TForm1::SpeedButton43Click() {
    RunOneOperand(*this, kEigen, true);
}
void TForm1::SpeedButton27Click() {
    PowerCommand(false);
}
void TForm1::SpeedButton44Click() {
    PowerCommand(true);
}
void TForm1::SpeedButton4Click() {
    PairwiseCommand(Pairwise::Add);
}
void TForm1::SpeedButton9Click() {
    PairwiseCommand(Pairwise::Subtract);
}
void TForm1::SpeedButton21Click() {
    PairwiseCommand(Pairwise::And);
}
void TForm1::SpeedButton22Click() {
    PairwiseCommand(Pairwise::Or);
}
void TForm1::SpeedButton23Click() {
    PairwiseCommand(Pairwise::Xor);
}
void TForm1::SpeedButton39Click() {
    ArrayCommand(false);
}
void TForm1::SpeedButton40Click() {
    ArrayCommand(true);
}
void TForm1::SpeedButton18Click() {
    ProductCommand();
}
void TForm1::SpeedButton38Click() {
    DivideCommand();
}
