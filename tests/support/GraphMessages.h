#pragma once
// The graph commands' own boxes, written out once for every test that expects them, in the
// notation of the scripted toolkits: the kind of box, a colon, the text.

#include <string>

inline const std::string kCalculationMessage =
    "message: Ошибка в вычислениях - недопустимое значение аргумента";
inline const std::string kBadNumberMessage = "message: неверно записано число";
inline const std::string kIntervalMessage = "message: Ошибка: X_max должно быть больше, чем X_min ";
inline const std::string kStopQuestion =
    "question: Произошла ошибка в вычислениях. Остановить построение графика ?";
inline const std::string kSignMessage =
    "message: Не выполнено необходимое условие: F(Xmin)*F(Xmin) < 0 ! \n\rНе могу решить "
    "уравнение";
