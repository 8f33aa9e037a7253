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

}  // namespace velaron::texts
