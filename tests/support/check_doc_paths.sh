#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Every link and every repository path that the pages for people name must exist, so that a
# renamed or moved file shows up as a failing test instead of a dead reference.
# Usage: check_doc_paths.sh ROOT [PAGE...]   (PAGEs relative to ROOT; by default README.md,
#        CONTRIBUTING.md and docs/*.md)
#
# What is checked, outside fenced code blocks (``` ... ```), which are examples, not references:
# - A markdown link [text](target) whose target has no scheme (no "scheme:"): the file or
#   folder, taken relative to the page, must exist; a "#anchor" must be a heading of the page
#   it points into (the heading lower-cased, punctuation but "-" and "_" dropped, spaces as "-").
# - Each word of a `code span` that holds a "/": a repository path when its first part is an
#   entry of ROOT (a folder like scripts/ or tests/, or a file like CMakePresets.json); then it
#   must exist, taken relative to ROOT.
# - A `code span` that is one bare file name (no "/", no space) ending in .md, .cpp, .h, .sh,
#   .cmake, .py or .qup: some file of that name must exist in the repository (the text has
#   usually named its folder just before).
# Not paths, and never checked: URLs; absolute and home paths (/usr/..., ~/...); anything with
# "$", a glob or a placeholder (* ? [ ] { } < >, or the word NAME, ID, FILE or PREFIX); build
# folders (build/, build-windows-x86_64/, any entry of ROOT whose name starts with "build").
set -uo pipefail
root=${1:?usage: check_doc_paths.sh ROOT [PAGE...]}
shift
cd "$root" || exit 2
if (($# == 0)); then
  set -- README.md CONTRIBUTING.md docs/*.md
fi

failures=0
fail() { echo "$1: $2" >&2; failures=$((failures + 1)); }

# The top-level entries that make a word with "/" a repository path.
declare -A top=()
for entry in * .[!.]*; do
  [[ -e "$entry" && "$entry" != build* && "$entry" != .git ]] && top[$entry]=1
done

# Every file's name, for the bare names.
declare -A basenames=()
while IFS= read -r file; do
  basenames[${file##*/}]=1
done < <(find . -path ./.git -prune -o -path './build*' -prune -o -type f -print)

placeholder() { [[ "$1" =~ [][*?{}\<\>\$~] || "$1" =~ (^|[^A-Za-z])(NAME|ID|FILE|PREFIX)([^A-Za-z]|$) ]]; }

# The anchors of a page's headings.
anchors_of() {
  sed -n 's/^#\{1,6\} \+//p' "$1" | tr 'A-Z' 'a-z' | sed 's/[^a-z0-9 _-]//g; s/ /-/g'
}

check_link() { # page line target
  local page=$1 line=$2 target=$3 file anchor
  [[ "$target" =~ ^[a-zA-Z][a-zA-Z0-9+.-]*: ]] && return # a URL or mailto:
  file=${target%%#*}
  anchor=
  [[ "$target" == *"#"* ]] && anchor=${target#*#}
  if [[ -n "$file" ]]; then
    file=$(dirname "$page")/$file
    [[ -e "$file" ]] || { fail "$page:$line" "link to $target: no such file"; return; }
  else
    file=$page
  fi
  if [[ -n "$anchor" && "$file" == *.md ]]; then
    anchors_of "$file" | grep -qxF -- "$anchor" ||
      fail "$page:$line" "link to $target: no such heading in ${file#./}"
  fi
}

check_word() { # page line word single
  local page=$1 line=$2 word=$3 single=$4
  word=${word%[.,;:)]}
  word=${word#(}
  word=${word#\"}
  word=${word%\"}
  [[ -z "$word" ]] && return
  [[ "$word" == *://* || "$word" == /* ]] && return
  placeholder "$word" && return
  if [[ "$word" == */* ]]; then
    [[ -n "${top[${word%%/*}]:-}" ]] || return
    [[ -e "$word" ]] || fail "$page:$line" "\`$word\` does not exist"
  elif [[ "$single" == 1 && "$word" =~ \.(md|cpp|h|sh|cmake|py|qup)$ ]]; then
    [[ -n "${basenames[$word]:-}" ]] || fail "$page:$line" "\`$word\`: no file of that name"
  fi
}

for page in "$@"; do
  [[ -f "$page" ]] || fail "$page" "no such page"
done
# One pass over the pages: "page<TAB>line<TAB>link|code<TAB>text" for each link target and code
# span outside fenced blocks.
while IFS=$'\t' read -r page number kind text; do
  if [[ "$kind" == link ]]; then
    check_link "$page" "$number" "$text"
  elif [[ "$text" == *" "* ]]; then
    read -ra words <<<"$text"
    for word in "${words[@]}"; do
      [[ "$word" == */* ]] && check_word "$page" "$number" "$word" 0
    done
  else
    check_word "$page" "$number" "$text" 1
  fi
done < <(awk '
  FNR == 1 { fenced = 0 }
  /^[[:space:]]*```/ { fenced = !fenced; next }
  fenced { next }
  {
    rest = $0
    while (match(rest, /\]\([^) ]*\)/)) {
      print FILENAME "\t" FNR "\tlink\t" substr(rest, RSTART + 2, RLENGTH - 3)
      rest = substr(rest, RSTART + RLENGTH)
    }
    rest = $0
    while (match(rest, /`[^`]+`/)) {
      print FILENAME "\t" FNR "\tcode\t" substr(rest, RSTART + 1, RLENGTH - 2)
      rest = substr(rest, RSTART + RLENGTH)
    }
  }' $(for page in "$@"; do [[ -f "$page" ]] && printf '%s ' "$page"; done))

if ((failures)); then
  echo "$failures dead references" >&2
  exit 1
fi
echo "every link and path in $* exists"
