#pragma once

#include <ostream>
#include <string>
#include <vector>

// vextel-fax-setup: gives the fax queues (the fax printer's queue and the capture queue) the
// scheduler policy "vextel-fax" (resources/cups/vextel-fax-policy.conf), under which every job
// operation needs a logged-in user and a job's attributes are its owner's alone. A policy can
// only live in the scheduler's own configuration; this adds it there through the scheduler's
// administration interface (which restarts the scheduler), between marker lines that a later
// run replaces, and touches nothing else in it.
namespace vextel_fax {

class PolicySetup {
public:
    // The configuration with the policy between its markers: an earlier copy is replaced, a
    // missing one appended. Everything outside the markers stays byte for byte.
    static std::string withPolicy(const std::string& configuration, const std::string& policy);

    // The policy as installed with the program.
    static const std::string& policy();

    // Adds the policy to the scheduler at server (empty: the default one) when it lacks it, then
    // sets it on each queue. Answers the exit status: 0 done, 1 failed (one line on errors).
    static int run(const std::string& server, const std::vector<std::string>& queues,
                   std::ostream& output, std::ostream& errors);
};

} // namespace vextel_fax
