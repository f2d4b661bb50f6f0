# The version of every program of the project: the viewer, cavio-report and
# the site. Included before project().
set(CAVIO_VERSION 1.0.0.0)
