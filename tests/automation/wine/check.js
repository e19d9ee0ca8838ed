// Assertions for the script suites: failures are printed, and the host's
// exit status says whether there were any.

var failures = 0, checks = 0;

function check(ok, what) {
  checks++;
  if (!ok) {
    failures++;
    echo("FAIL " + what);
  }
}

function checkEqual(actual, expected, what) {
  check(actual === expected, what + ": got " + actual + " (" + typeof actual + "), want " + expected);
}

// The status a failing call raised, as an unsigned number; 0 when it did not fail.
function statusOf(call) {
  try {
    call();
  } catch (e) {
    return e.number >>> 0;
  }
  return 0;
}
