# The mean of each column of the rounds' figures, with the smallest and
# largest round: one line a column, "TITLE, NAME time: MEAN (rounds LOW to
# HIGH)". Reads one line per round holding as many figures as NAMES has words.
#   awk -v title="ratio before/after" -v names="parallel wall user" -f round_spread.awk
BEGIN { columns = split(names, name, " ") }
NF == columns {
  for (k = 1; k <= columns; ++k) {
    sum[k] += $k
    if (n == 0 || $k < low[k]) low[k] = $k
    if (n == 0 || $k > high[k]) high[k] = $k
  }
  ++n
}
END {
  for (k = 1; k <= columns; ++k) {
    printf "%s, %s time: %.3f (rounds %.3f to %.3f)\n", title, name[k], sum[k] / n, low[k], high[k]
  }
}
