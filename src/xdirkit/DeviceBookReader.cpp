#include "DeviceBookReader.h"

namespace xdirkit {

namespace {

bool isContainer(JsonValueEvents::Kind kind) {
    return kind == JsonValueEvents::Kind::Object || kind == JsonValueEvents::Kind::Array;
}

} // namespace

std::string DeviceBookReader::brokenShapeRule() const {
    if (!isObject_)
        return "not an object";
    if (!individuals_.present)
        return "individuals: missing";
    if (!groups_.present)
        return "groups: missing";
    if (!individuals_.rule.empty())
        return "individuals" + individuals_.rule;
    if (!groups_.rule.empty())
        return "groups" + groups_.rule;
    return {};
}

void DeviceBookReader::onKey(std::string& name) {
    key_ = std::move(name);
}

void DeviceBookReader::onValue(const Value& value) {
    opening_ = Frame::Skipped;
    if (frames_.empty()) {
        isObject_ = value.kind == Kind::Object;
        if (isObject_)
            opening_ = Frame::Document;
    } else {
        switch (frames_.back()) {
        case Frame::Document:
            onDocumentMember(value);
            break;
        case Frame::Individuals:
        case Frame::Groups:
            onListItem(value);
            break;
        case Frame::Individual:
            onIndividualMember(value);
            break;
        case Frame::Group:
            onGroupMember(value);
            break;
        case Frame::Members:
            onMember(value);
            break;
        case Frame::Skipped:
            break;
        }
    }
    if (isContainer(value.kind))
        frames_.push_back(opening_);
}

void DeviceBookReader::onEnd() {
    const Frame closed = frames_.back();
    frames_.pop_back();
    switch (closed) {
    case Frame::Individuals:
        finishList(individuals_);
        break;
    case Frame::Groups:
        finishList(groups_);
        break;
    case Frame::Individual:
        finishIndividual();
        break;
    case Frame::Group:
        finishGroup();
        break;
    default:
        break;
    }
}

// A list named twice is the later one, as for any member of an object.
void DeviceBookReader::onDocumentMember(const Value& value) {
    const bool isIndividuals = key_ == "individuals";
    if (!isIndividuals && key_ != "groups")
        return;
    List& list = isIndividuals ? individuals_ : groups_;
    list = List();
    list.present = true;
    if (isIndividuals)
        book_.individuals.clear();
    else
        book_.groups.clear();
    if (value.kind != Kind::Array)
        list.rule = ": not an array";
    else
        opening_ = isIndividuals ? Frame::Individuals : Frame::Groups;
}

void DeviceBookReader::onListItem(const Value& value) {
    const bool isIndividuals = frames_.back() == Frame::Individuals;
    List& list = isIndividuals ? individuals_ : groups_;
    const std::size_t index = list.count++;
    if (value.kind != Kind::Object) {
        if (list.rule.empty())
            list.rule = "[" + std::to_string(index) + "]: not an object";
        return;
    }
    entry_ = Entry();
    opening_ = isIndividuals ? Frame::Individual : Frame::Group;
}

DeviceBookReader::Field DeviceBookReader::textField(const Value& value, std::string& target) {
    if (value.kind != Kind::String)
        return Field::Wrong;
    target = std::move(*value.text);
    return Field::Read;
}

void DeviceBookReader::onIndividualMember(const Value& value) {
    if (key_ == "id") {
        entry_.id = value.identifier != 0 ? Field::Read : Field::Wrong;
        entry_.individual.id = value.identifier;
    } else if (key_ == "name") {
        entry_.name = textField(value, entry_.individual.name);
    } else if (key_ == "faxNumber") {
        entry_.faxNumber = textField(value, entry_.individual.faxNumber);
    }
}

void DeviceBookReader::onGroupMember(const Value& value) {
    if (key_ == "name") {
        entry_.name = textField(value, entry_.group.name);
    } else if (key_ == "members") {
        entry_.members = value.kind == Kind::Array ? Field::Read : Field::Wrong;
        entry_.memberCount = 0;
        entry_.memberIsWrong = false;
        entry_.group.members.clear();
        if (value.kind == Kind::Array)
            opening_ = Frame::Members;
    }
}

void DeviceBookReader::onMember(const Value& value) {
    ++entry_.memberCount;
    if (value.identifier == 0)
        entry_.memberIsWrong = true;
    else if (entry_.group.members.size() < DeviceBook::kMaximumGroupMembers)
        entry_.group.members.push_back(value.identifier);
}

void DeviceBookReader::finishList(List& list) {
    if (list.count > DeviceBook::kMaximumEntries)
        list.rule = ": more than 65535";
}

std::string DeviceBookReader::entryProblem(Frame kind) const {
    if (kind == Frame::Individual) {
        if (entry_.id != Field::Read)
            return ".id: not an integer from 1 to 65535";
        if (entry_.name != Field::Read)
            return ".name: not a string";
        if (entry_.faxNumber != Field::Read)
            return ".faxNumber: not a string";
        return {};
    }
    if (entry_.name != Field::Read)
        return ".name: not a string";
    if (entry_.members != Field::Read)
        return ".members: not an array";
    if (entry_.memberCount > DeviceBook::kMaximumGroupMembers)
        return ".members: more than 201";
    if (entry_.memberIsWrong)
        return ".members: not an integer from 1 to 65535";
    return {};
}

// Entries are kept only while the list keeps every rule and the book has room for them.
void DeviceBookReader::finishIndividual() {
    const std::size_t index = individuals_.count - 1;
    if (!individuals_.rule.empty())
        return;
    if (std::string problem = entryProblem(Frame::Individual); !problem.empty()) {
        individuals_.rule = "[" + std::to_string(index) + "]" + problem;
        book_.individuals = {};
    } else if (book_.individuals.size() < DeviceBook::kMaximumEntries) {
        book_.individuals.push_back(std::move(entry_.individual));
    }
}

void DeviceBookReader::finishGroup() {
    const std::size_t index = groups_.count - 1;
    if (!groups_.rule.empty())
        return;
    if (std::string problem = entryProblem(Frame::Group); !problem.empty()) {
        groups_.rule = "[" + std::to_string(index) + "]" + problem;
        book_.groups = {};
    } else if (book_.groups.size() < DeviceBook::kMaximumEntries) {
        book_.groups.push_back(std::move(entry_.group));
    }
}

} // namespace xdirkit
