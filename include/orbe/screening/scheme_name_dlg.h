// The small dialogs of the screening windows: one text each, a label, an edit
// box and OK / Cancel. The name of a scheme being saved, the parameter of a
// condition row, and the description of an indicator.
#ifndef ORBE_SCREENING_SCHEME_NAME_DLG_H_
#define ORBE_SCREENING_SCHEME_NAME_DLG_H_

#include <memory>
#include <string>

#include "orbe/indicators/index_base.h"
#include "orbe/platform/dialog.h"

class CColorEdit;
class CKvxButton;

namespace orbe {
class CommandEvents;
}

class CTextEntryDlg : public CDialog {
 public:
  static constexpr UINT kEditId = 1001;
  static constexpr UINT kLabelId = 1002;

  CTextEntryDlg(UINT resource, CWnd* parent, std::string caption, std::string label, std::string text, bool readOnly);
  ~CTextEntryDlg() override;

  // The text as OK took it (the initial text before).
  const std::string& GetText() const { return text_; }
  // While the dialog is open: what the user types into and presses.
  CColorEdit* GetEdit() const { return edit_.get(); }
  CKvxButton* GetButton(UINT id) const;

 protected:
  BOOL OnInitDialog() override;
  bool DoDataExchange(bool save) override;
  RECT InitialRect() const override { return RECT{0, 0, 360, 120}; }

 private:
  std::string caption_;
  std::string label_;
  std::string text_;
  bool read_only_;
  std::unique_ptr<orbe::CommandEvents> events_;
  std::unique_ptr<CWnd> label_window_;
  std::unique_ptr<CColorEdit> edit_;
  std::unique_ptr<CKvxButton> ok_;
  std::unique_ptr<CKvxButton> cancel_;
};

// "保存方案": the name of the scheme.
class CSchemeNameDlg : public CTextEntryDlg {
 public:
  static constexpr UINT kResource = 12023;
  explicit CSchemeNameDlg(CWnd* parent);
  const std::string& GetName() const { return GetText(); }
};

// "修改参数 - " and the indicator's name: the parameter text of a row.
class CDlgIndexParam : public CTextEntryDlg {
 public:
  static constexpr UINT kResource = 12024;
  CDlgIndexParam(CWnd* parent, const IndexBase& index, const std::string& parameter);
};

// "指标说明": an indicator's description, to read.
class CDlgIndexInfo : public CTextEntryDlg {
 public:
  static constexpr UINT kResource = 12025;
  CDlgIndexInfo(CWnd* parent, const IndexBase& index);
};

#endif  // ORBE_SCREENING_SCHEME_NAME_DLG_H_
