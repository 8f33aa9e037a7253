// Every caption the user manual names is shown by its window, and every message it quotes is the program's.
#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QSet>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextDocument>

#include "app/startup.h"
#include "common/texts.h"
#include "db/data_folder.h"
#include "form_fixture.h"
#include "result/run_request.h"
#include "run/run_texts.h"
#include "ui/refdata/frm_gaz.h"
#include "ui/refdata/frm_region.h"
#include "ui/refdata/frm_wind.h"
#include "ui/run/form6.h"
#include "ui/startup/app_context.h"
#include "ui/startup/form3.h"
#include "ui/startup/help.h"

namespace velaron::ui {
namespace {

// The manual as its reader sees it, blanks and line breaks read as single blanks.
QString ManualText() {
  QFile f(QStringLiteral(VELARON_SOURCE_DIR "/doc/Instrukziy_polzovately.html"));
  EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << f.fileName().toStdString();
  QTextDocument doc;
  doc.setHtml(QString::fromUtf8(f.readAll()));
  return doc.toPlainText().simplified();
}

// A caption as it reads: blanks run together, no menu mnemonic "&", no fold mark (" -", " +") after a frame's name.
QString Reading(QString text) {
  text.remove(QLatin1Char('&'));
  text = text.simplified();
  if (text.endsWith(QLatin1String(" -")) || text.endsWith(QLatin1String(" +"))) text.chop(2);
  return text;
}

// Every caption `root` and the widgets in it show.
QSet<QString> CaptionsOf(const QWidget& root) {
  QSet<QString> out{Reading(root.windowTitle())};
  for (const QObject* o : root.findChildren<QObject*>()) {
    if (const auto* l = qobject_cast<const QLabel*>(o)) out << Reading(l->text());
    if (const auto* b = qobject_cast<const QAbstractButton*>(o)) out << Reading(b->text());
    if (const auto* g = qobject_cast<const QGroupBox*>(o)) out << Reading(g->title());
    if (const auto* a = qobject_cast<const QAction*>(o)) out << Reading(a->text());
    if (const auto* m = qobject_cast<const QMenu*>(o)) out << Reading(m->title());
    if (const auto* t = qobject_cast<const QTabWidget*>(o))
      for (int i = 0; i < t->count(); ++i) out << Reading(t->tabText(i));
    if (const auto* c = qobject_cast<const QComboBox*>(o))
      for (int i = 0; i < c->count(); ++i) out << Reading(c->itemText(i));
    if (const auto* t = qobject_cast<const QTableWidget*>(o))
      for (int i = 0; i < t->columnCount(); ++i)
        if (const QTableWidgetItem* h = t->horizontalHeaderItem(i)) out << Reading(h->text());
  }
  return out;
}

class ManualCaptions : public test::MainWindowTest {};

TEST_F(ManualCaptions, AreTheWindowsOwn) {
  const QString manual = ManualText();
  ReportOptions options;
  // Each window the manual describes, the main one read before its child dialogs are made; captions split by "|".
  const std::tuple<const char*, QSet<QString>, const char*> quoted[] = {
      {"main", CaptionsOf(*window),
       "Данные по газопроводу|Данные по участкам|Вероятность аварии|Диаграммы|Расчет|Выход|Параметры|Произвести расчет|"
       "Добавить данные|Добавление\\изменение БД газов|Статистика аварий для территорий|Справка|"
       "Инструкция пользователя|О программе ...|Место расположения газопровода|Диаметр трубы, мм|Давление, МПа: от|"
       "Температура газа, °С|Глубина залегания, м|Протяженность магистрального газопровода, км|"
       "Длина трубопровода между запорной арматурой, км|Время срабатывания запорной арматуры, с|Сохранить данные|"
       "Данные для расчета ущерба|Добавить|Удалить|Общие данные|Длина участка, м:|"
       "Удаление начала участка от точки начала газопровода, м|Азимут трубопровода,°:|"
       "Общая протяженность введенных участков, м|Характеристика грунтов|Особые условия залегания|Грунт:|"
       "Группа грунтов:|Тип грунта:|Вид грунта:|пересечение с автодорогами|наличие на участке ЛЭП|"
       "пересечение с другим трубопроводом|пересечение с кабельной линией|Город|Уточнить данные|"
       "Определение интенсивности аварий на 1000 км в год|Регион|по расположению газопровода в регионе страны|"
       "количество аварий на 1000 км газопровода в год (в среднем по линейной части крупной газотранспортной "
       "организации)|"
       "ввод в ручную, вероятности возникновения хотя бы одной аварии на газопроводе (1 км) в течение года|"
       "Влияние внешних факторов|наличие речных переходов|эрозия почвы (для северных районов)|"
       "стихийные бедствия (бури, разрушительные землетрясения)|наличие запорных арматур|Диаграмма|"
       "Значения пораж. фактора|Вероятность поражения|Риск|Глубина зон поражения:|Сохранить результаты"},
      {"run", CaptionsOf(Form6(result::RunRequest{}, window.get())),
       "Расчет|Сценарий:|Комплексная оценка|Взрыв|Факел (котлован)|Факел (асимметр.горение)|Факел (симметр.горение)|"
       "Огневой шар|Факел за год|Горение ГПВС|Участок|номер|Метеоданные|Направление ветра (откуда дует ветер)|"
       "Время года:|Скорость ветра, м/с|Вероятности "
       "факелов|котлованного|симметричного|ассимитричного|зима|лето|Отмена"},
      {"settings", CaptionsOf(Form3(options, window.get())),
       "Ширина зоны расчета, м:|Ширина зоны расчета по Y:|Шаг сетки, м:|Скорость выхода человека из опасной зоны, м/с|"
       "Время истечения до образования ОШ, с|Доля массы, участвующей в образовании ОШ|"
       "Время истечения при образовании облака ГПВС, с|Доля массы, участвующей в горении ГПВС|Параметры отчета|"
       "создавать дополнительные файлы результатов в формате Micosoft Excel|3D диаграммы|OK|Отмена"},
      {"gases", CaptionsOf(frmGaz(nullptr)),
       "Характеристики газов из базы данных (БД)|Наименование|Молярная масса, кмоль|Теплота сгорания, кДж|a*|b*|"
       "Класс опасности|Новая|Изменение|Удалить|Ввод|Отмена|<<Назад|* - смотри инструкцию"},
      {"regions", CaptionsOf(frmRegion(nullptr)),
       "Определение территориальных констант|Территория|lambda*|Kreg*|Lambda|Kreg"},
      {"towns", CaptionsOf(frmWind(nullptr)),
       "Ветер|Город:|Процент повторяемости|Средняя скорость ветра, м/с|Зима|Лето|Северный|Северо-восточный|"
       "Северо-западный|Штиль|Количество дней в году со среднесуточной температурой >0|Добавить город|Изменить|Удалить|"
       "Обновить|Выход|Построить розу ветров"},
  };
  for (const auto& [name, shown, captions] : quoted) {
    for (const QString& c : QString::fromUtf8(captions).split(QLatin1Char('|'))) {
      EXPECT_TRUE(shown.contains(c)) << name << " shows no \"" << c.toStdString() << "\"";
      EXPECT_TRUE(manual.contains(c)) << "the manual names no \"" << c.toStdString() << "\"";
    }
  }
}

// The messages and the file names the manual quotes are the program's own.
TEST(ManualMessages, AreTheProgramsOwn) {
  const QString manual = ManualText();
  for (const char* quoted : {run::texts::kRefineQuestion, run::texts::kEdgeWarning, run::texts::kChooseGas,
                             run::texts::kNoRegion, velaron::texts::kWrongSection, velaron::texts::kGasDataMissing,
                             velaron::texts::kCheckInput, velaron::texts::kDeleteQuestion, app::kLockFile,
                             db::kPrimaryFile, db::kFallbackFile, db::kTemplateFile, kManualFile})
    EXPECT_TRUE(manual.contains(QString::fromUtf8(quoted).simplified())) << quoted;

  // A manual that is not there is told with the text the manual gives for it.
  test::MessageCatcher messages;
  QTemporaryDir empty;
  EXPECT_FALSE(OpenManual(nullptr, empty.path()));
  ASSERT_EQ(messages.requests.size(), 1u);
  EXPECT_TRUE(manual.contains(messages.requests[0].text.section(QLatin1Char('\n'), 0, 0)))
      << messages.requests[0].text.toStdString();
}

}  // namespace
}  // namespace velaron::ui
