# The one masking rule of the reference reports: the lines that change from
# run to run (the date and time of the run, elapsed times, the processor
# count and the folder of the input deck) keep their labels and lose their
# values. Used both when the references are written (tools/update_reference_reports.sh) and when a run
# is compared with them (tests/reference/check_reference.sh).
s/Date: .*Time: .*/Date: <date>  Time: <time>/
s/^\( *Execution Time *:\).*/\1 <elapsed>/
s/^\( *Number Processors *:\).*/\1 <processors>/
s/^\( *Serial processing *:\).*/\1 <elapsed>/
s/^\( *Paral\. processing *:\).*/\1 <elapsed>/
s/^\( *Print\. processing *:\).*/\1 <elapsed>/
s/^\( *Path to file locations *:\).*/\1 <input folder>/
