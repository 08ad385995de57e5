#!/bin/bash
# Writes a ledger of COUNT appliances to FILE: names, voltage, wattage and
# hours only, so start-up works out the rest. The list the report benchmarks
# on the real program (report_on_display.sh, pdf_on_command_line.sh) share.
#
#   bench/long_ledger.sh COUNT FILE
set -euo pipefail

count=${1:?usage: $0 COUNT FILE}
file=${2:?usage: $0 COUNT FILE}
{
    printf '"@@FILE VERSION@@","251"\r\n"@@TABLEDEF START@@"\r\n'
    for field in 'amperage=Float,0,""Amperage""' 'appliance=String,50,""Appliance""' \
        'costday=Float,0,""Cost/Day""' 'costhour=Float,0,""Cost/Hour""' \
        'hrsday=Float,0,""Daily Usage(Hrs)""' 'kilowattshour=Float,0,""KWH""' \
        'voltage=Float,0,""Voltage""' 'wattage=Float,0,""Wattage""'; do
        width=10
        case $field in appliance*) width=50 ;; esac
        printf '"%s,"""",%s,Data,"""""\r\n' "$field" "$width"
    done
    printf '"@@INDEXDEF START@@"\r\n"@@INDEXDEF END@@"\r\n"@@TABLEDEF END@@"\r\n'
    printf '"Amperage","Appliance","Cost/Day","Cost/Hour","Daily Usage(Hrs)","KWH","Voltage","Wattage",\r\n'
    awk -v n="$count" 'BEGIN {
        for (i = 1; i <= n; i++)
            printf ",\"Appliance %06d\",,,\"%d\",,\"230\",\"%d\",\r\n", i, 1 + i % 24, 10 + i % 2000
    }'
} >"$file"
