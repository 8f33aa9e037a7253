// Fixed texts of a run: the lists of the run dialog and the messages about a run's inputs and results,
// whichever window shows them. Texts that windows of every kind share are in common/texts.h; the progress
// titles of the scenarios are in the scenario table (result/scenarios.h).
#pragma once

#include <array>

#include "common/texts.h"

namespace velaron::run::texts {

using velaron::texts::kSeasonNames;
using velaron::texts::kWindDirectionNames;

inline constexpr const char* kCrossingSumNote =
    "Сумма верояностей влияния внешних факторов на возгорание больше 1. При расчете принимаем за 1";
inline constexpr const char* kExternalSumNote =
    "Сумма верояностей влияния внешних факторов больше 1. При расчете принимаем за 1";
inline constexpr const char* kRefineQuestion = "Хотите уточнить вероятность аварии?";
inline constexpr const char* kRefineTitle = "В н и м а н и е ! ! !";
inline constexpr const char* kEdgeWarning =
    "Увеличьте ширину зоны расчета (Меню: Файл->Параметры), результаты зон поражения не правильные!";

// Refusals of inputs the calculation cannot work with (checked before anything is computed).
inline constexpr const char* kScenarioNotAvailable = "Расчет по этому сценарию в данной версии программы недоступен.";
inline constexpr const char* kBadScenario = "Не выбран сценарий расчета.";
inline constexpr const char* kBadMolarMass = "Молярная масса газа должна быть больше нуля. Проверте данные по газу!";
inline constexpr const char* kNoFlameSpeed =
    "Для выбранного газа не задан класс опасности 3..6: горение ГПВС не может быть рассчитано. "
    "Проверте данные по газу!";
inline constexpr const char* kPressureTooHigh = "Давление газа должно быть меньше 30 МПа. Проверте правильность ввода!";
inline constexpr const char* kPressureNotPositive =
    "Давление газа на участке должно быть больше нуля. Проверте правильность ввода!";
// %1: the line pressure, MPa ("от 7,4 до 0" from the start to the end of the pipeline, or one number).
inline constexpr const char* kLinePressureNotPositive =
    "Давление газа на участке должно быть больше нуля, а давление в газопроводе задано %1 МПа. Проверте "
    "правильность ввода!";
// %1 what the pressure comes to there; %2 the section length, m; %3 the distance of its start, m; %4 the
// pipeline length, km.
inline constexpr const char* kSectionBeyondPipeline =
    "Середина участка лежит за концом газопровода, и давление газа на участке получается %1: длина участка %2 м, "
    "удаление начала участка %3 м, протяженность газопровода %4 км. Проверте правильность ввода!";
inline constexpr const char* kPipelineLength =
    "Протяженность газопровода должна быть больше нуля. Проверте правильность ввода!";
inline constexpr const char* kDiameter = "Диаметр трубопровода должен быть больше нуля. Проверте правильность ввода!";
inline constexpr const char* kNegativeWind = "Скорость ветра не может быть отрицательной. Проверте правильность ввода!";
inline constexpr const char* kWindDirection = "Направление ветра задается через 45° (0, 45, ... 315).";
inline constexpr const char* kBadShare =
    "Вероятности факелов должны быть числами от 0 до 1. Проверте правильность ввода!";
inline constexpr const char* kFireBallMass =
    "Масса газа в огневом шаре должна быть больше нуля. Проверте параметры расчета!";
inline constexpr const char* kCloudMass = "Масса облака ГПВС должна быть больше нуля. Проверте параметры расчета!";
inline constexpr const char* kNoRegion = "Необходимо выбрать регион!";
inline constexpr const char* kTypeAccidentProbability =
    "Необходимо ввести вероятность возникновения хотя бы одной аварии на газопроводе (1 км)  в течение года!";
inline constexpr const char* kAccidentProbabilityRange =
    "Вероятность возникновения аварии должна быть в пределах от 0 до 1!";
inline constexpr const char* kChooseGas = "Выберите вид газа!";
inline constexpr const char* kDiameterMin = "Значение диаметра трубопровода должно быть >= 100 мм!";
inline constexpr const char* kDiameterMax = "Значение трубопровода должно должно быть <= 1500 мм!";
// A setting whose value makes a quantity of the run no finite number: %1 the setting as the settings window
// names it, %2 its value, %3 "велико" or "мало", %4 the quantity.
inline constexpr const char* kSettingOverflows =
    "%1: значение %2 слишком %3, %4 не является конечным числом. Проверте правильность ввода!";
// Gas data with which the outflow (%1 the gas, %2 its molar mass) or the flame's size (%2 and %3 its
// coefficients a* and b* of the flame length) is no finite number.
inline constexpr const char* kOutflowNotFinite =
    "Истечение газа не рассчитывается при молярной массе газа \"%1\" %2. Проверте данные по газу!";
inline constexpr const char* kFlameNotFinite =
    "Геометрия факела не рассчитывается при коэффициентах газа \"%1\" a* %2 и b* %3. Проверте данные по газу!";
// The jet-flame window's lift angle.
inline constexpr const char* kLiftAngle = "Угол подъема трубы должен быть от 0 до 90°. Проверте правильность ввода!";

// Messages about the results of a run.
inline constexpr const char* kPointOutside = "Точка выходит за границы расчета";
inline constexpr const char* kNoTown = "Не выбран город или для него нет данных о ветре.";

}  // namespace velaron::run::texts
