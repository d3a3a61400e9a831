#pragma once

namespace kit {

// Marks the process as one whose memory never goes into a core dump (nor to a debugger of the
// same user attaching later). Called where a password is typed: its text lives on in copies the
// program cannot wipe (the text field's UTF-16 string, undo steps, freed heap), so the only sure
// way to keep it out of a dump is to make none. Once set it stays set for the process's life.
void keepOutOfCoreDumps();

} // namespace kit
