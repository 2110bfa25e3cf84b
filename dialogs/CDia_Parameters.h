// The Parameters dialog: shows and edits the axis and drawing settings of one
// diagram and the data column whose spectrum is computed.
#pragma once

#include <QDialog>

#include <string>

class CDiagram;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QShowEvent;

class CDia_Parameters : public QDialog {
public:
    explicit CDia_Parameters(QWidget* parent = nullptr);

    // The diagram shown; set by the caller before the dialog runs; not owned.
    CDiagram* m_pDiagram = nullptr;

    // The controls, children of the dialog.
    QPushButton* m_btnOk;
    QPushButton* m_btnCancel;
    QCheckBox* m_chkShowMarks;
    QCheckBox* m_chkXAutoscale;
    QCheckBox* m_chkXShowNet;
    QCheckBox* m_chkShowLegend;
    QLineEdit* m_edtXMin;
    QLineEdit* m_edtXDelta;
    QLineEdit* m_edtYMin;
    QLineEdit* m_edtYDelta;
    QLineEdit* m_edtLineWidth;
    QCheckBox* m_chkYAutoscale;
    QCheckBox* m_chkYShowNet;
    QComboBox* m_cboSpectrumColumn;

    // OK: stores the settings (or refuses a bad number and stays open).
    void accept() override;

protected:
    // Each time the dialog opens it shows the diagram's current settings.
    void showEvent(QShowEvent* event) override;

private:
    void OnInitDialog();
    void UpdateYRangeControls();
    // Puts text into an edit through the working text.
    void SetEditText(QLineEdit* edit, std::string text);
    // Shows a warning about the edit's text and gives it the focus.
    void Refuse(QLineEdit* edit, const char* message);

    std::string m_strText;
    // What OnInitDialog wrote into the Y edits: an edit whose text the user
    // left alone keeps the diagram's exact value instead of its rounding.
    QString initialYMin;
    QString initialYDelta;
};
