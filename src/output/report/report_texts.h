// Fixed texts of the report documents, byte for byte as the system writes them (blanks and slips
// included): one place for every report.
#pragma once

#include <array>

#include "common/texts.h"

namespace velaron::report::texts {

using velaron::texts::kRefine;
using velaron::texts::kWindDirectionNames;

inline constexpr const char* kEdgeWarning =
    "Увеличьте ширину зоны расчета (Меню: Файл->Параметры), результаты зон поражения не правильные!!!";

// Input-data block.
inline constexpr const char* kInputHeading = "Исходные данные";
inline constexpr const char* kLocation = "Место расположения газопровода:  ";
inline constexpr const char* kDate = "Дата расчета:  ";
inline constexpr const char* kStart = "Время начала расчета  ";
inline constexpr const char* kEnd = "Время окончания расчета  ";
inline constexpr const char* kDurationShort = "Длительность расчета, мин.  ";
inline constexpr const char* kUnderAMinute = "менее минуты";
inline constexpr const char* kDuration = "Длительность расчета, мин.";
inline constexpr const char* kSection = "Номер участка:  ";
inline constexpr const char* kGas = "Газ:  ";
inline constexpr const char* kDiameter = "Диаметр трубы, м:  ";
inline constexpr const char* kPressure = "Среднее давление на участке, МПа:  ";
inline constexpr const char* kTemperature = "Температура газа, C:  ";
inline constexpr const char* kLength = "Длина участка, м:  ";
inline constexpr const char* kAzimuth = "Азимут трубопровода:  ";
inline constexpr const char* kGround = "Грунт:";
inline constexpr const char* kGroundLevel = "-";
inline constexpr const char* kZoneWidth = "Ширина зоны расчета, м:  ";
inline constexpr const char* kGridStep = "Шаг сетки, м  ";
inline constexpr const char* kExternalFactors = "Внешние факторы: ";
inline constexpr const char* kRivers = "           наличие речных переходов ";
inline constexpr const char* kErosion = "           эрозия почвы ";
inline constexpr const char* kDisasters = "           стихийные бедствия (бури, разрушительные землетрясения) ";
inline constexpr const char* kValves = "           наличие запорных арматур ";
// The lines of the crossings under it are in the table of crossings (result/crossings.h).
inline constexpr const char* kSectionData = "Данные по участку: ";

// Settings lines of single reports.
inline constexpr const char* kFireBallTime = "Время истечения до образования ОШ, с  ";
inline constexpr const char* kFireBallShare = "Доля массы, участвующей в ОШ  ";
inline constexpr const char* kCloudTime = "Время истечения при образовании облака ГПВС, с  ";
inline constexpr const char* kCloudShare = "Доля массы, участвующей в горение ГПВС  ";
inline constexpr const char* kEscapeSpeed = "Скорость выхода человека из опасной зоны, м/с  ";

// Weather lines of the jet reports.
inline constexpr const char* kWeather = "Метеоданные:  ";
inline constexpr const char* kSeason = "- время года  ";
inline constexpr const char* kWindSpeed = "- скорость ветра  ";
inline constexpr const char* kWindSpeedUnit = " м/с;";
inline constexpr const char* kWindDirection = "- направление ветра (откуда дует ветер) ";
inline constexpr const char* kWeatherNote = "В расчете сценария приняты следующие метеоданнные:";

// Result head.
inline constexpr const char* kResultsHeading = "Результаты расчета";
inline constexpr const char* kPitLength = "Длина котлована, м:  ";
inline constexpr const char* kSpeedOut = "Скорость истечения газа, м/с:  ";
inline constexpr const char* kMassFlow = "Массовый расход, кг/с:  ";
inline constexpr const char* kFireBallMass = "Масса огневого шара, кг:  ";
inline constexpr const char* kFireBallRadius = "Радиус ОШ, м:  ";
inline constexpr const char* kFireBallLife = "Время жизни (горения), с:  ";
inline constexpr const char* kCloudFraction = "Доля массы, участвующей в образовании облака:  ";
inline constexpr const char* kCloudMass = "Масса облака ГПВС, кг:  ";
inline constexpr const char* kFlameLength = "Общая высота (длина) факела, м:  ";
inline constexpr const char* kFlameDiameter = "Максимальный диаметр факела, м:  ";
inline constexpr const char* kConeLength = "Высота (длина) конуса, м:  ";
inline constexpr const char* kCylinderLength = "Высота (длина) цилиндра, м:  ";
inline constexpr const char* kAsymmetricLength = "Высота (длина) ассиметричного факела, м";
inline constexpr const char* kLiftAngle = "Угол подъема труб, град.:";
inline constexpr const char* kTurnAngle = "Угол разворота труб, град.:";

// Scenario probabilities.
inline constexpr const char* kProbabilityHeading = "Вероятность аварийных  сценариев на участке:";
inline constexpr std::array<const char*, 7> kProbabilityLabels = {
    "- гильотинное разрушение газопровода (сценарий \"Физический взрыв\"):  ",
    "- вероятность возгорания:  ",
    "- формирование котлованного факела:  ",
    "- формирование симметричного факела:  ",
    "- формирование асимметричного факела:  ",
    "- формирование огневого шара:  ",
    "- формирование газо-паровоздушного облака:  "};

// Figure captions; each is followed by the grid step and " м)".
inline constexpr const char* kFigRisk =
    "Рис. ___ Зонирование территории по критерию индивидуального риска в районе аварии (шаг сетки - ";
inline constexpr const char* kFigPressureChart =
    "Рис. __ График распределения избыточного давления при гильотинном разрушении газопровода, кПа (шаг сетки - ";
inline constexpr const char* kFigCloudChart =
    "Рис. __ График распределения избыточного давления при горении облака ГПВС (надо это вставить) в случае "
    "гильотинного гильотинном разрушении газопровода, кПа (шаг сетки - ";
inline constexpr const char* kFigFluxChart =
    "Рис. __ График распределения плотности теплового поля, кВт/кв.м (шаг сетки - ";
inline constexpr const char* kFigJetChartBefore = "Рис. __ График наибольших значений плотности теплового поля по ";
inline constexpr const char* kFigJetChartAfter = " направлению от места аварии, кВт/кв.м (шаг сетки - ";
inline constexpr const char* kFigPressureDiagram =
    "Рис. __ Диаграмма значений избыточного давления при гильотинном разрушении газопровода, кПа (шаг сетки - ";
inline constexpr const char* kFigFluxDiagram = "Рис. __ Диаграмма значений теплового потока, кВт/кв.м (шаг сетки - ";
inline constexpr const char* kFigPercentChart = "Рис. __ График распределения вероятности поражения, % (шаг сетки - ";
inline constexpr const char* kFigPercentDiagram = "Рис. __ Диаграмма значений вероятности поражения, % (шаг сетки - ";
inline constexpr const char* kFigEnd = " м)";

// Compression-wave table.
inline constexpr const char* kWavePressure = "Давление, кгс/кв.см";
inline constexpr const char* kWaveRadius = "Радиус зоны, м";
inline constexpr std::array<const char*, 7> kWaveLevels = {"1", "0.7", "0.5", "0.3", "0.2", "0.1", "0.03"};
inline constexpr const char* kNoRadius = "-";

// Damage-zone tables.
inline constexpr const char* kZoneHead = "Характеристика опасных зон";
inline constexpr const char* kZoneDistance = "Расстояние от газопровода, м";
inline constexpr std::array<const char*, 4> kZoneLabels = {
    "Зона безусловного поражения, Рпор>99%", "Зона возможно сильных поражений, 50%<Рпор<=99%",
    "Зона возможно средних поражений, 33%<Рпор<=50%", "Зона возможно слабых поражений, 1%<Рпор<=33%"};
inline constexpr const char* kSafeZone = "Зона безопасности, Рпор<=1%";

// Direction tables.
inline constexpr const char* kDirectionHead = "Направление градиента теплового поля от места аварии";
inline constexpr const char* kSeasonHead = "Время года возникновения сценария (лето, зима)";
inline constexpr const char* kWinter = "зима";
inline constexpr const char* kSummer = "лето";
inline constexpr const char* kDirCaptionHead =
    "Таблица __ Расчетные параметры опасных зон термического поражения человека от аварийного сценария  ";
inline constexpr const char* kDirPitSingle =
    "\"Котлованный факел\"  по введенным метеоданным в направлении градиента теплового поля";
inline constexpr const char* kDirSymmetricSingle =
    "\"Симметричный факел\" по введенным метеоданным в направлении градиента теплового поля";
inline constexpr const char* kDirAsymmetricSingle =
    "\"Ассиметричный факел\"  по введенным метеоданным в направлении градиента теплового поля";
inline constexpr const char* kDirPitYear =
    "\"Котлованный факел\" в летние и зимнее время года в направлении градиента теплового поля";
inline constexpr const char* kDirSymmetricYear =
    "\"Симметричный факел\" в летние и зимнее время года в направлении градиента теплового поля";
inline constexpr const char* kDirAsymmetricYear =
    "\"Ассиметричный факел\" в летние и зимнее время года в направлении градиента теплового поля";

// Year-round reports (all jet fires over a year, the complex assessment).
inline constexpr const char* kTitleYearJets =
    "Комплексная оценка факельного горения при гильотинном разрушении газопровода в течение года";
inline constexpr const char* kTitleComplex = "Комплексная оценка опасных зон при гильотинном разрушении газопровода";
inline constexpr std::array<const char*, 3> kYearWeatherLines = {
    "- время года:  данные за год;",
    "- скорость ветра:  см. розу ветров и данные среднесезонных характеристик в таблице ___;",
    "- угол отклонения факела от вертикали зависит от силы и направления ветра."};
inline constexpr const char* kPitJet = "Котлованный факел:";
inline constexpr const char* kSymmetricJet = "Симметричный факел:";
inline constexpr const char* kAsymmetricJet = "Асимметричный факел:";
inline constexpr const char* kFigYearJetChartAfter =
    " направлению от места аварии от всех видов факельного горения на поверхности земли, кВт/кв.м (шаг сетки - ";
inline constexpr const char* kFigYearFluxDiagram =
    "Рис. __ Диаграмма распределения максимальных значений плотности теплового поля от всех видов факельного "
    "горения в направлении перпендикулярном от газопровода на поверхности земли, кВт/кв.м (шаг сетки - ";
inline constexpr const char* kFigYearJetsPercentDiagram =
    "Рис. __ Диаграмма распределения математического ожидания вероятности поражения человека тепловым полем от "
    "всех видов факельного горения в направлении перпендикулярном от газопровода на поверхности земли, % (шаг "
    "сетки - ";
inline constexpr const char* kFigComplexPercentChart =
    "Рис. __ График распределения математического ожидания вероятности поражения человека от всех сценариев, % "
    "(шаг сетки - ";
inline constexpr const char* kFigComplexPercentDiagram =
    "Рис. __ Диаграмма распределения математического ожидания вероятности поражения человека от всех сценариев, % "
    "(шаг сетки - ";

// The town's wind block and the wind-rose figure.
inline constexpr const char* kWindCaption = "Таблица ___ Сезонные характеристики ветра в районе населенного пункта -";
inline constexpr const char* kWindDirectionHead = "Направление ветра";
inline constexpr const char* kWindRepetitionHead = "Процент повторяемости";
inline constexpr const char* kWindSpeedHead = "Средняя скорость ветра, м/с";
inline constexpr const char* kWinterCap = "Зима";
inline constexpr const char* kSummerCap = "Лето";
// The nine wind states, north first, clockwise, calm last (the blank before the hyphen is the system's own).
inline constexpr std::array<const char*, 9> kWindStates = {
    "Северный",      "Северо -восточный", "Восточный",        "Юго -восточный", "Южный",
    "Юго -западный", "Западный",          "Северо -западный", "Штиль"};
inline constexpr const char* kDaysAboveZero = "Количество дней в году со среднесуточной температурой > 0   ";
inline constexpr const char* kFigWindRose = "Рис.  ___ Роза ветров в районе населенного пункта -";

// Year-round zone table.
inline constexpr const char* kYearJetsTableCaption =
    "Таблица __ Расчетный размер опасных зон поражения человека от комплексного термического воздействия "
    "факельного горения при условной вероятности возникновения в течение года";
inline constexpr const char* kYearComplexTableCaption =
    "Таблица __ Расчетные параметры опасных зон поражения человека от комплексного термического и барического "
    "действия при условной вероятности возникновения аварийных сценариев в течение года";
inline constexpr const char* kScenarioKindHead = "Вид аварийного сценария";
inline constexpr const char* kYearProbability = "Вероятность возникновения в течение года";
inline constexpr const char* kExplosionHead = "Физический взрыв";
inline constexpr const char* kFireBallHead = "Огневой шар";
inline constexpr const char* kCloudHead = "Горение ГПВС";
inline constexpr const char* kPitHead = "Котлованный факел";
inline constexpr const char* kSymmetricHead = "Симметричный факел";
inline constexpr const char* kAsymmetricHead = "Ассиметричный факел";
inline constexpr const char* kCombinedHead = "Комплексная оценка опасных зон";

}  // namespace velaron::report::texts
