// Fixed texts of the program that more than one window or writer uses.
#pragma once

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

}  // namespace velaron::texts
