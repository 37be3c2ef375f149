// The texts the program prints, for building the screens the end-to-end
// tests expect.
#pragma once

#include <string>

namespace e2e {

inline const std::string kFirstName = "\n Enter the name of player 1: ";
inline const std::string kSecondName = "\n Enter the name of player 2 : ";
inline const std::string kRowsLimit = "\n (not more than 10) : ";
inline const std::string kColumnsLimit = "\n (not more than 10 ) : ";
inline const std::string kKeyPrompt = "\n\n Press 'Y' or  'N' : ";
inline const std::string kStrategyPrompt = "\n\n Enter the strategy number: ";
inline const std::string kIterationsLimit = "\n\n (please less than  100 !!!             )  : ";
inline const std::string kIterationsQuestion =
    "\n\n How many itterations would you like to be executed?" + kIterationsLimit;
inline const std::string kInputEnded = "\n The input ended before the game was complete.\n";
inline const std::string kNameTooLong = "\n A name may have at most 11 characters.";
inline const std::string kNameHoldsControl = "\n A name may not hold control characters.";

inline std::string rowsQuestion(const std::string& one) {
    return "\n\n Please enter the maximum number of strategies for player " + one + " " +
           kRowsLimit;
}

inline std::string columnsQuestion(const std::string& two) {
    return "\n\n Please enter the maximum number of strategies for player " + two + kColumnsLimit;
}

// clang-format off
inline std::string matrixIntro(const std::string& one, const std::string& two) {
    return "\n\n Please enter values for the matrix elements GM[i][j]. "
           "\n They should be numbers equal to "
           "\n the benefit for player " + one + " (the loss for " + two + " ) if "
           "\n strategy  i  is used by  " + one + "  and " + two + " replies with strategy j . \n\n";
}

inline std::string entry(int row, int column) {
    return "\n GM[" + std::to_string(row) + "][" + std::to_string(column) + "]=  ";
}

inline std::string startQuestion(const std::string& one) {
    return "\n Would you like to start the game simulation with a certain strategy "
           "\n for player " + one + " ?" + kKeyPrompt;
}
// clang-format on

inline std::string numberRefused(int low, int high) {
    return "\n Please enter a whole number from " + std::to_string(low) + " to " +
           std::to_string(high) + ".";
}

// ---- What follows the dialogue --------------------------------------------

// The results follow the dialogue. The dialogue's tests only pass through
// them: no table rows, then the closing key, whose code is the exit status.
inline const std::string kReportStart = "\n\n\n ===== R E S U L T S ====";
inline const std::string kClosingKey = "q";

inline std::string reportRowsQuestion(const std::string& iterations) {
    return "\n (remember - the number of all itterations is " + iterations + " ) :";
}

}  // namespace e2e
