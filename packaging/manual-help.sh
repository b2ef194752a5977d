#!/bin/sh
# Stands in for the program when help2man writes its manual page (packaging/quorvex.h2m): its
# --version as it is, and for --help the program's own help followed by each command's, each
# command under a section of its own, so that the page holds every option --help shows.
#
#   QUORVEX_PROGRAM=PATH manual-help.sh --help | --version
set -eu
program=${QUORVEX_PROGRAM:?the program to describe}
case ${1:-} in
--version)
    exec "$program" --version
    ;;
--help)
    # help2man takes the usage lines after the first for its synopsis when they read "or:".
    "$program" --help | sed '2,/^$/s/^       quorvex/   or: quorvex/'
    for command in send list verify; do
        printf '\n*quorvex %s*\n\n' "$command"
        # The command's usage line opens its section as the line to type.
        "$program" "$command" --help | sed '1s/^Usage: //'
    done
    ;;
*)
    echo "usage: QUORVEX_PROGRAM=PATH $0 --help | --version" >&2
    exit 2
    ;;
esac
