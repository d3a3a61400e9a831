#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace xdirkit {

// The events of nlohmann's SAX parser (json::sax_parse), each turned into one value in its place,
// so that a reader of the printer's documents takes what it needs while the text is read and never
// holds a tree of it. A container's value comes first, then its contents, then onEnd. Every event
// answers true, so that the parser reads on to the end and a document cut short or not JSON is
// always told apart from a document that breaks a rule; only a syntax error stops it.
class JsonValueEvents {
public:
    enum class Kind { Null, Boolean, Integer, Number, String, Object, Array };
    struct Value {
        Kind kind = Kind::Null;
        // An integer from 1 to 65,535 (an identifier of the book); 0 for anything else.
        std::uint16_t identifier = 0;
        std::string* text = nullptr; // a string's text, to be moved from
    };

    virtual ~JsonValueEvents() = default;

    bool null() { return value({Kind::Null}); }
    bool boolean(bool) { return value({Kind::Boolean}); }
    bool number_integer(std::int64_t number) {
        return value({Kind::Integer, number >= 1 && number <= 65535
                                         ? static_cast<std::uint16_t>(number)
                                         : std::uint16_t{0}});
    }
    bool number_unsigned(std::uint64_t number) {
        return value({Kind::Integer, number >= 1 && number <= 65535
                                         ? static_cast<std::uint16_t>(number)
                                         : std::uint16_t{0}});
    }
    bool number_float(double, const std::string&) { return value({Kind::Number}); }
    bool string(std::string& text) { return value({Kind::String, 0, &text}); }
    bool binary(std::vector<std::uint8_t>&) { return value({Kind::Null}); }
    bool start_object(std::size_t) { return value({Kind::Object}); }
    bool start_array(std::size_t) { return value({Kind::Array}); }
    bool key(std::string& name) {
        onKey(name);
        return true;
    }
    bool end_object() { return end(); }
    bool end_array() { return end(); }
    template <class Exception> bool parse_error(std::size_t, const std::string&, const Exception&) {
        return false;
    }

protected:
    // The next value is this member's (the key of an object comes right before its value).
    virtual void onKey(std::string& name) = 0;
    virtual void onValue(const Value& value) = 0;
    // The innermost open object or array ends.
    virtual void onEnd() = 0;

private:
    bool value(const Value& value) {
        onValue(value);
        return true;
    }
    bool end() {
        onEnd();
        return true;
    }
};

} // namespace xdirkit
