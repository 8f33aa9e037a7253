// Fixed texts of the program that more than one window or writer uses.
#pragma once

#include <array>

namespace velaron::texts {

inline constexpr const char* kProgramTitle = "Веларон";
inline constexpr const char* kAttentionTitle = "Внимание!!!";
inline constexpr const char* kCheckInput = "Проверте правильность ввода!";
inline constexpr const char* kWrongSection = "Указан неверный участок расчета";
inline constexpr const char* kGasDataMissing = "Не все данные по газопроводу введены";
inline constexpr const char* kSaveFailed = "Ошибка в процессе сохранения файла";
inline constexpr const char* kWriteFailed = "Ошибка в процессе записи файла!";
inline constexpr const char* kDeleteQuestionTitle = "В н и м а н и е ! ! !";
inline constexpr const char* kDeleteQuestion = "Удаленные данные будут утеряны! Продолжить?";

// Seasons: position 0 winter, 1 summer (the run dialog, the town's wind data and its rose).
inline constexpr std::array<const char*, 2> kSeasonNames = {"Зима", "Лето"};
// The windless state of a town's wind data, beside the eight directions.
inline constexpr const char* kCalm = "Штиль";
// Wind directions (where the wind blows from), 45° apart from north: the run dialog's and the jet-flame
// window's lists, the weather texts of a run and the heads of the reports' tables by direction.
inline constexpr std::array<const char*, 8> kWindDirectionNames = {"С", "С-В", "В", "Ю-В", "Ю", "Ю-З", "З", "С-З"};
// The settings window's captions of its boxes; a refusal of a setting names it by its caption.
inline constexpr const char* kXLimitCaption = "Ширина зоны расчета, м:";
inline constexpr const char* kYLimitCaption = "Ширина зоны расчета по Y:";
inline constexpr const char* kCStepCaption = "Шаг сетки, м:";
inline constexpr const char* kSkorChelCaption = "Скорость выхода человека из опасной зоны, м/с";
inline constexpr const char* kTfbCaption = "Время истечения до            образования ОШ, с";
inline constexpr const char* kDolaCaption = "Доля массы, участвующей в образовании ОШ";
inline constexpr const char* kToblCaption = "Время истечения при образовании облака ГПВС, с";
inline constexpr const char* kDolaOblCaption = "Доля массы, участвующей в горении ГПВС";

// A damage zone whose radius was not found inside the grid, in the zone boxes and every table.
inline constexpr const char* kRefine = "уточнить";

}  // namespace velaron::texts
