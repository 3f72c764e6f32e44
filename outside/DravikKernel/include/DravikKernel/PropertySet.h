// The texts a document keeps about itself (author, company and so on), in the properties
// section of its file, which is read without the rest of the file.
#pragma once

#include "pal/visibility.h"

#include <string>

DV_EXPORTS_BEGIN

class CDVPropertySet {
public:
    const std::wstring& GetAuthor() const { return author_; }
    const std::wstring& GetCompany() const { return company_; }
    const std::wstring& GetComments() const { return comments_; }
    const std::wstring& GetTitle() const { return title_; }
    const std::wstring& GetSubject() const { return subject_; }
    const std::wstring& GetCategory() const { return category_; }
    const std::wstring& GetKeywords() const { return keywords_; }
    void SetAuthor(std::wstring v) { author_ = std::move(v); }
    void SetCompany(std::wstring v) { company_ = std::move(v); }
    void SetComments(std::wstring v) { comments_ = std::move(v); }
    void SetTitle(std::wstring v) { title_ = std::move(v); }
    void SetSubject(std::wstring v) { subject_ = std::move(v); }
    void SetCategory(std::wstring v) { category_ = std::move(v); }
    void SetKeywords(std::wstring v) { keywords_ = std::move(v); }
    bool IsEmpty() const {
        return author_.empty() && company_.empty() && comments_.empty() && title_.empty() &&
               subject_.empty() && category_.empty() && keywords_.empty();
    }
    bool operator==(const CDVPropertySet&) const = default;

private:
    std::wstring author_;
    std::wstring company_;
    std::wstring comments_;
    std::wstring title_;
    std::wstring subject_;
    std::wstring category_;
    std::wstring keywords_;
};

DV_EXPORTS_END
