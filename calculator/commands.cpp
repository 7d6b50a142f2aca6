// The button table and the automatic run's order.
#include "commands.h"

#include <algorithm>

namespace {

using F = TForm1;
constexpr std::array<CommandInfo, 44> kCommands{{
    {"SpeedButton1", "Matrix  A", "A", 0, 0, 1, &F::SpeedButton1Click},
    {"SpeedButton5", "Matrix  B", "B", 0, 1, 1, &F::SpeedButton5Click},
    {"SpeedButton4", "Matrix A Plus Matrix B", "A+B", 0, 2, 1, &F::SpeedButton4Click},
    {"SpeedButton2", "Matrix Transpose", "A'", 1, 0, 1, &F::SpeedButton2Click},
    {"SpeedButton7", "Matrix Transpose", "B'", 1, 1, 1, &F::SpeedButton7Click},
    {"SpeedButton9", "Matrix A minus Matrix B", "A-B", 1, 2, 1, &F::SpeedButton9Click},
    {"SpeedButton6", "Matrix inverse", "inv(A)", 2, 0, 1, &F::SpeedButton6Click},
    {"SpeedButton8", "Matrix inverse", "inv(B)", 2, 1, 1, &F::SpeedButton8Click},
    {"SpeedButton18", "Matrix multiply", "A*B", 2, 2, 1, &F::SpeedButton18Click},
    {"SpeedButton10", "Largest  component  of  Matrix A", "Max(A)", 3, 0, 1,
     &F::SpeedButton10Click},
    {"SpeedButton12", "Largest  component  of  Matrix B", "Max(B)", 3, 1, 1,
     &F::SpeedButton12Click},
    {"SpeedButton39", "Array multiply ;", "A.*B", 3, 2, 1, &F::SpeedButton39Click},
    {"SpeedButton11", "Smallest component of Matrix A", "Min(A)", 4, 0, 1, &F::SpeedButton11Click},
    {"SpeedButton13", "Smallest component of Matrix B", "Min(B)", 4, 1, 1, &F::SpeedButton13Click},
    {"SpeedButton38", "matrix A divide matrix B;      A*inv(B)  ", "A/B", 4, 2, 1,
     &F::SpeedButton38Click},
    {"SpeedButton14", "Norm of Matrix A", "Norm(A)", 5, 0, 1, &F::SpeedButton14Click},
    {"SpeedButton15", "Norm of Matrix B", "Norm(B)", 5, 1, 1, &F::SpeedButton15Click},
    {"SpeedButton40", "Array divide", "A./B", 5, 2, 1, &F::SpeedButton40Click},
    {"SpeedButton19", "Dimension of Matrix A", "Dim(A)", 6, 0, 1, &F::SpeedButton19Click},
    {"SpeedButton20", "Dimension of Matrix B", "Dim(B)", 6, 1, 1, &F::SpeedButton20Click},
    {"SpeedButton21", "Element-wise logical AND", "A&B", 6, 2, 1, &F::SpeedButton21Click},
    {"SpeedButton24", "Sum of diagonal elements", "Trace(A)", 7, 0, 1, &F::SpeedButton24Click},
    {"SpeedButton25", "Sum of diagonal elements", "Trace(B)", 7, 1, 1, &F::SpeedButton25Click},
    {"SpeedButton22", "Element-wise logical OR", "A|B", 7, 2, 1, &F::SpeedButton22Click},
    {"SpeedButton32", "Determinant of Matrix A", "Det(A)", 8, 0, 1, &F::SpeedButton32Click},
    {"SpeedButton37", "Determinant of Matrix B", "Det(B)", 8, 1, 1, &F::SpeedButton37Click},
    {"SpeedButton23", "Logical EXCLUSIVE OR;  XOR ", "A#B", 8, 2, 1, &F::SpeedButton23Click},
    {"SpeedButton34", "Rank of Matrix A ", "Rank(A)", 9, 0, 1, &F::SpeedButton34Click},
    {"SpeedButton35", "Rank of Matrix B", "Rank(B)", 9, 1, 1, &F::SpeedButton35Click},
    {"SpeedButton16", "Matrix  A  multiply   x", "A*x", 9, 2, 1, &F::SpeedButton16Click},
    {"SpeedButton33", "Eigenvalues of Matrix A", "Eig(A)", 10, 0, 1, &F::SpeedButton33Click},
    {"SpeedButton43", "Eigenvalues of Matrix B", "Eig(B)", 10, 1, 1, &F::SpeedButton43Click},
    {"SpeedButton17", "Matrix  B  multiply   x", "B*x", 10, 2, 1, &F::SpeedButton17Click},
    {"SpeedButton26", "Orthogonal-triangular decomposition;  A=QR", "QR(A)", 11, 0, 1,
     &F::SpeedButton26Click},
    {"SpeedButton28", "Orthogonal-triangular decomposition; B=QR", "QR(B)", 11, 1, 1,
     &F::SpeedButton28Click},
    {"SpeedButton27", "Matrix power", "A^x", 11, 2, 1, &F::SpeedButton27Click},
    {"SpeedButton29", "LU factorization; A=LU", "LU(A)", 12, 0, 1, &F::SpeedButton29Click},
    {"SpeedButton30", "LU factorization; B=LU", "LU(B)", 12, 1, 1, &F::SpeedButton30Click},
    {"SpeedButton44", "Matrix power", "B^x", 12, 2, 1, &F::SpeedButton44Click},
    {"SpeedButton31", "Cholesky factorization;  A=LDL'", "Chol(A)", 13, 0, 1,
     &F::SpeedButton31Click},
    {"SpeedButton36", "Cholesky factorization;    B=LDL'", "Chol(B)", 13, 1, 1,
     &F::SpeedButton36Click},
    {"SpeedButton3", "Auto calculate", "AuTo", 13, 2, 2, &F::SpeedButton49Click},
    {"SpeedButton41", "Singular value decomposition; A=USV", "Svd(A)", 14, 0, 1,
     &F::SpeedButton41Click},
    {"SpeedButton42", "Singular value decomposition; B=USV", "Svd(B)", 14, 1, 1,
     &F::SpeedButton42Click},
}};

const CommandInfo* ByButton(std::string_view button) {
    for (const auto& c : kCommands)
        if (c.button == button) return &c;
    return nullptr;
}

// The automatic run's order, by button.
constexpr std::array<std::string_view, 43> kAutoButtons{
    "SpeedButton1",  "SpeedButton5",  "SpeedButton4",  "SpeedButton2",  "SpeedButton7",
    "SpeedButton9",  "SpeedButton6",  "SpeedButton8",  "SpeedButton18", "SpeedButton10",
    "SpeedButton12", "SpeedButton39", "SpeedButton11", "SpeedButton13", "SpeedButton38",
    "SpeedButton14", "SpeedButton15", "SpeedButton40", "SpeedButton19", "SpeedButton20",
    "SpeedButton21", "SpeedButton24", "SpeedButton25", "SpeedButton22", "SpeedButton32",
    "SpeedButton37", "SpeedButton23", "SpeedButton34", "SpeedButton35", "SpeedButton16",
    "SpeedButton33", "SpeedButton43", "SpeedButton17", "SpeedButton26", "SpeedButton28",
    "SpeedButton27", "SpeedButton29", "SpeedButton30", "SpeedButton44", "SpeedButton31",
    "SpeedButton36", "SpeedButton41", "SpeedButton42"};

std::array<const CommandInfo*, 43> MakeAutoOrder() {
    std::array<const CommandInfo*, 43> order{};
    std::transform(kAutoButtons.begin(), kAutoButtons.end(), order.begin(), ByButton);
    return order;
}

}  // namespace

std::span<const CommandInfo> AllCommands() {
    return kCommands;
}

std::span<const CommandInfo* const> AutoRunOrder() {
    static const std::array<const CommandInfo*, 43> order = MakeAutoOrder();
    return order;
}

const CommandInfo* FindCommand(std::string_view name) {
    for (const auto& c : kCommands)
        if (c.name == name) return &c;
    return nullptr;
}
