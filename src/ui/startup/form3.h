// The settings dialog: shows the stored calculation settings and the two report options, checks what
// the user types and stores the settings row. The values it stored are handed back as a row, so that
// whoever opened it (and any writer that needs them later) never reads its boxes.
#pragma once

#include <QDialog>

#include "ui/startup/app_context.h"
#include "db/rows.h"
#include "models/settings_rules.h"

class QCheckBox;
class QPushButton;

namespace velaron::ui {

class NumericBox;

// The settings dialog: calculation settings and the two report options.
class Form3 : public QDialog {
  Q_OBJECT
 public:
  // Loads the first settings row into the boxes and the report options into the check boxes. The
  // options are changed only when "OK" stores.
  explicit Form3(ReportOptions& options, QWidget* parent = nullptr);

  // False when the stored settings could not be read (the message was shown): such a window is not opened.
  bool loaded() const { return loaded_; }

  // The settings row as loaded, and after "OK" as stored.
  const db::AdjustmentRow& values() const { return row_; }

  // "OK": checks every box and the settings rules, stores the row and closes. Returns whether it stored.
  bool Command1_Click();
  // "Отмена": closes without storing anything.
  void Command2_Click();

 signals:
  void settingsStored(const velaron::db::AdjustmentRow& row);

 private:
  NumericBox* addBox(const char* name, bool whole);
  void fillBoxes();
  // The box of the setting a broken settings rule is about.
  NumericBox* boxForRule(models::SettingsField field) const;

  ReportOptions& options_;
  db::AdjustmentRow row_;
  bool loaded_ = true;
  NumericBox *Text1_, *Text2_, *Text3_, *Text6_, *txtTfb_, *txtDola_, *Text5_, *Text4_;
  QCheckBox *Check1_, *Check2_;
  QPushButton *Command1_, *Command2_;
};

}  // namespace velaron::ui
