#pragma once
// A text that copies share: faces that take one material name from one load
// hold one copy of its bytes, however long the name and however many faces.
// It keeps the value semantics of a string: assigning a new text to one
// holder never changes another's.
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

namespace facetor {

class shared_text {
  public:
    shared_text() = default;
    shared_text(std::string text) // NOLINT: implicit, as a string field's assignment is
        : text_(text.empty() ? nullptr : std::make_shared<const std::string>(std::move(text)))
    {
    }
    shared_text(const char* text) : shared_text(std::string(text)) {} // NOLINT: likewise

    operator const std::string&() const { return str(); } // NOLINT: reads like the string
    const std::string& str() const { return text_ ? *text_ : empty_text(); }

    bool empty() const { return !text_; }
    std::size_t size() const { return str().size(); }
    const char* c_str() const { return str().c_str(); }

    friend bool operator==(const shared_text& a, const shared_text& b)
    {
        return a.text_ == b.text_ || a.str() == b.str();
    }
    friend bool operator==(const shared_text& a, const std::string& b) { return a.str() == b; }
    friend bool operator==(const shared_text& a, std::string_view b) { return a.str() == b; }
    friend bool operator==(const shared_text& a, const char* b) { return a.str() == b; }
    friend std::ostream& operator<<(std::ostream& out, const shared_text& t)
    {
        return out << t.str();
    }

  private:
    static const std::string& empty_text()
    {
        static const std::string empty;
        return empty;
    }

    std::shared_ptr<const std::string> text_; // null for the empty text
};

} // namespace facetor
