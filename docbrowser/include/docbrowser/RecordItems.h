// The cells of the browser's rows: text cells that read and write their record through an
// editor per column, name cells with the row's icon and an action on double click, the eye of
// the Visible column, and the folder browse button of a library's Path cell.
#pragma once

#include "DravikKernel/DocumentsMenu.h"
#include "docbrowser/Record.h"
#include "xtp/ReportControl.h"

#include "pal/visibility.h"

#include <functional>
#include <memory>
#include <string>

DV_EXPORTS_BEGIN

namespace DocumentsMenu {

class IRecordTextValueEditor {
public:
    // False refuses the text.
    virtual bool SetValue(const std::wstring& text) = 0;
    virtual std::wstring GetValue() = 0;
    virtual ~IRecordTextValueEditor() = default;
};

// One editor per column, each over a pair of the record's operations.
template <std::wstring (Record::*Get)(), bool (Record::*Set)(const std::wstring&)>
class RecordValueEditor : public IRecordTextValueEditor {
public:
    explicit RecordValueEditor(Record* record) : record_(record) {}
    bool SetValue(const std::wstring& text) override { return (record_->*Set)(text); }
    std::wstring GetValue() override { return (record_->*Get)(); }

private:
    Record* record_;
};

class RecordNameEditor : public RecordValueEditor<&Record::GetName, &Record::SetName> {
public:
    using RecordValueEditor::RecordValueEditor;
};
class RecordPathEditor : public RecordValueEditor<&Record::GetPath, &Record::SetPath> {
public:
    using RecordValueEditor::RecordValueEditor;
};
class RecordAuthorEditor : public RecordValueEditor<&Record::GetAuthor, &Record::SetAuthor> {
public:
    using RecordValueEditor::RecordValueEditor;
};
class RecordCompanyEditor : public RecordValueEditor<&Record::GetCompany, &Record::SetCompany> {
public:
    using RecordValueEditor::RecordValueEditor;
};
class RecordCommentEditor : public RecordValueEditor<&Record::GetComment, &Record::SetComment> {
public:
    using RecordValueEditor::RecordValueEditor;
};

class ReportRecordItem : public CXTPReportRecordItem {
public:
    using Action = std::function<void()>;
    // Takes the editor; the caption is its value now.
    explicit ReportRecordItem(IRecordTextValueEditor* editor, Action action = {});

    IRecordTextValueEditor* GetEditor() const { return editor_.get(); }
    void OnDblClick(XTP_REPORTRECORDITEM_CLICKARGS* args) override;
    void OnEditChanged(XTP_REPORTRECORDITEM_ARGS* args, LPCWSTR text) override;

private:
    std::unique_ptr<IRecordTextValueEditor> editor_;
    Action action_;
};

class DocumentRecordItemName : public ReportRecordItem {
public:
    DocumentRecordItemName(IRecordTextValueEditor* editor, Action action, ILibrary* library,
                           std::wstring name);
    // The document's icon from the control's caching image manager; 40749 without one.
    int GetIconIndex() const override;
    const std::wstring& GetDocumentName() const { return name_; }
    void SetDocumentName(std::wstring name) { name_ = std::move(name); }

private:
    ILibrary* library_;
    std::wstring name_;
};

class LibraryRecordItemName : public ReportRecordItem {
public:
    LibraryRecordItemName(IRecordTextValueEditor* editor, Action action, ILibrary* library);
    // 4307 for a missing folder, 4310 when another library bears the name, else the folder's
    // icon (4302 without one).
    int GetIconIndex() const override;
    void ForgetLibrary() { library_ = nullptr; }

private:
    ILibrary* library_;
};

// The eye: shown or hidden by the row's record.
class ReportRecordIconItem : public CXTPReportRecordItem {
public:
    ReportRecordIconItem(int shownImage, int hiddenImage);
    int GetIconIndex() const override;
    // Hides or shows every selected row as the opposite of this row.
    void OnClick(XTP_REPORTRECORDITEM_CLICKARGS* args) override;

private:
    int shown_;
    int hidden_;
};

class LibraryRecordButtonBrowse : public CXTPReportRecordItemButton {
public:
    explicit LibraryRecordButtonBrowse(ILibrary* library);
    // Chooses the library's folder; a library whose stored folder is relative, or whose folder
    // is missing, keeps the new one relative.
    void OnLButtonUp(const XTP_REPORTRECORDITEM_CLICKARGS* args) override;
    void ForgetLibrary() { library_ = nullptr; }

private:
    ILibrary* library_;
};

} // namespace DocumentsMenu

DV_EXPORTS_END
