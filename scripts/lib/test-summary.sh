# The closing lines of the test command: how many test cases ran, how many were skipped and why.
# ctest counts a test program whose cases were skipped as passed, so its own summary cannot say
# whether everything ran. Each GoogleTest program writes its cases to RESULTS/<test>.xml
# (--gtest_output, see tests/CMakeLists.txt) and ctest lists its tests in RESULTS/ctest.xml
# (--output-junit); a script test (the end-to-end test) that skips exits with ctest's skip code
# and says why on a line starting "SKIPPED:". Source it, then:
#
#   summarise_tests RESULTS    prints the counts and every reason for a skip; returns 0 when
#                              every test case ran, 1 when some were skipped, 2 without results

summarise_tests() {
    local results=$1
    [[ -s "$results/ctest.xml" ]] || {
        echo "Test cases: no results in $results (ctest did not run)"
        return 2
    }
    local programs=()
    mapfile -t programs < <(find "$results" -maxdepth 1 -name '*.xml' ! -name ctest.xml | sort)
    # Each <testcase> of GoogleTest's file is one line, its <skipped message="..."> the next; the
    # message is the source position, a line break, then the reason. In ctest's file a test it
    # did not run has status="notrun", and its output follows in <system-out>.
    awk '
        function attribute(line, name) {
            if (!match(line, " " name "=\"[^\"]*\"")) return ""
            return substr(line, RSTART + length(name) + 3, RLENGTH - length(name) - 4)
        }
        function plain(text) {
            gsub(/&#x0A;/, "\n", text)
            gsub(/&quot;/, "\"", text)
            gsub(/&apos;/, "\047", text)
            gsub(/&lt;/, "<", text)
            gsub(/&gt;/, ">", text)
            gsub(/&amp;/, "\\&", text)
            return text
        }
        function skip(reason, what) {
            if (!(reason in skips)) order[++reasons] = reason
            skips[reason]++
            who[reason] = who[reason] (who[reason] == "" ? "" : ", ") what
            skipped++
        }
        FNR == 1 {
            program = FILENAME
            sub(/.*\//, "", program)
            sub(/\.xml$/, "", program)
            if (program != "ctest") { programs++; gtest[program] = 1 }
        }
        program != "ctest" && /<testcase / {
            pending = ""
            if (attribute($0, "status") != "run") next
            if (attribute($0, "result") == "skipped")
                pending = program ": " attribute($0, "classname") "." attribute($0, "name")
            else
                ran++
        }
        program != "ctest" && pending != "" && /<skipped message=/ {
            reason = plain(attribute($0, "message"))
            sub(/^[^\n]*\n/, "", reason)  # the source position
            gsub(/\n/, " ", reason)
            skip(reason, pending)
            pending = ""
        }
        program == "ctest" && /<testcase / {
            test = attribute($0, "name")
            scripted = !(test in gtest)
            waiting = scripted && attribute($0, "status") == "notrun"
            if (scripted) scripts++
            if (scripted && !waiting) ran++
        }
        program == "ctest" && waiting && /SKIPPED:/ {
            reason = plain($0)
            sub(/.*SKIPPED: */, "", reason)
            skip(reason, test)
            waiting = 0
        }
        program == "ctest" && waiting && /<\/testcase>/ {
            skip("no reason given", test)
            waiting = 0
        }
        END {
            printf "Test cases: %d ran, %d skipped (%d GoogleTest programs, %d script tests)\n",
                ran, skipped, programs, scripts
            for (i = 1; i <= reasons; i++)
                printf "  SKIPPED %d: %s\n    (%s)\n", skips[order[i]], order[i], who[order[i]]
            exit (skipped > 0 ? 1 : 0)
        }
    ' "${programs[@]}" "$results/ctest.xml"
}
