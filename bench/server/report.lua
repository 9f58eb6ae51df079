-- wrk script: at the end of a run, one line with wrk's own counts and the
-- latency percentiles, for run.sh to read.
done = function(summary, latency, requests)
   local e = summary.errors
   io.write(string.format("RESULT %d %d %d %d %d %d %d %d %d\n",
      summary.requests, summary.duration,
      latency:percentile(50), latency:percentile(99),
      e.connect, e.read, e.write, e.status, e.timeout))
end
